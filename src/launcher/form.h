#pragma once

// A window of the program that has a load handler. The window manager runs it once, right
// after creating the window and before showing it.
class Form
{
public:
    virtual ~Form() = default;
    // False keeps the window hidden although it was asked to be shown (the main window does
    // so when the settings are incomplete and the configuration window stands in its place).
    virtual bool formLoad() { return true; }
};
