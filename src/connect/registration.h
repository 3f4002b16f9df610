#pragma once

#include <functional>
#include <memory>

struct AppContext;
class ServerQuery;

// Makes the query each connection window uses; none: the real one over UDP.
using ServerQueryFactory = std::function<std::unique_ptr<ServerQuery>()>;

void registerConnectWindows(AppContext &context, ServerQueryFactory makeQuery = {});
