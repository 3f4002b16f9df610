#pragma once

struct AppContext;

void registerAdvancedWindows(AppContext &context);
