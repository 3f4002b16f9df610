#pragma once

struct AppContext;

void registerSetupWindows(AppContext &context);
