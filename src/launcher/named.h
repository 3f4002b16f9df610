#pragma once

#include <QLatin1String>

// Gives a control the objectName by which tests and tools find it, and returns it.
template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}
