#pragma once

struct AppContext;

void registerConnectWindows(AppContext &context);
