#pragma once

#include <QString>

// The 36 lines of the credits, each ending with CR LF.
QString creditsText();
