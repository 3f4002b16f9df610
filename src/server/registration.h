#pragma once

struct AppContext;

void registerServerWindows(AppContext &context);
