#pragma once

struct AppContext;

void registerAboutWindows(AppContext &context);
