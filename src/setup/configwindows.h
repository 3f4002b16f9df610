#pragma once

#include "setup/setupwindow.h"

class ConfigPage;

// `config`: the configuration window of the main window's menu. "Ok" saves without checks,
// "Annuler" leaves without saving; both bring the main window back.
class ConfigWindow final : public SetupWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConfigWindow)

public:
    explicit ConfigWindow(AppContext &context, QWidget *parent = nullptr);

    bool formLoad() override;

private:
    void cmdOK_Click();
    void Command3_Click();

    ConfigPage *m_page;
};

// `firstuseconfig`: the wizard's third page. Its forward button writes, then checks.
class FirstUseConfigWindow final : public SetupWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstUseConfigWindow)

public:
    explicit FirstUseConfigWindow(AppContext &context, QWidget *parent = nullptr);

    bool formLoad() override;

private:
    void cmdPrev_Click();
    void cmdFinish_Click();

    ConfigPage *m_page;
};
