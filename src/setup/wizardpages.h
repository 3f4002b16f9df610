#pragma once

#include "setup/setupwindow.h"

class QLineEdit;

// `firstuse1`: the wizard's welcome page.
class FirstUse1Window final : public SetupWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstUse1Window)

public:
    explicit FirstUse1Window(AppContext &context, QWidget *parent = nullptr);

private:
    void cmdNext_Click();
};

// `firstuse2`: the player's name and clan. It reads nothing, so it always starts empty.
class FirstUse2Window final : public SetupWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstUse2Window)

public:
    explicit FirstUse2Window(AppContext &context, QWidget *parent = nullptr);

private:
    void cmdPrev_Click();
    void cmdNext_Click();

    QLineEdit *m_txtNick = nullptr;
    QLineEdit *m_txtClan = nullptr;
};

// `firstusedone`: derives the game directories, marks the first use as done, opens `sp`.
class FirstUseDoneWindow final : public SetupWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstUseDoneWindow)

public:
    explicit FirstUseDoneWindow(AppContext &context, QWidget *parent = nullptr);

private:
    void cmdFinish_Click();
};
