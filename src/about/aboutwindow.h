#pragma once

#include "launcher/form.h"

#include <QDialog>

struct AppContext;
class QLabel;
class QPushButton;

// The About window "frmAbout": the product, its sites and who this copy is registered to.
// The main window stays disabled while it is open; every way of closing it enables it again.
class AboutWindow final : public QDialog, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutWindow)

public:
    explicit AboutWindow(AppContext &context, QWidget *parent = nullptr);

    // Form_Load: the user's name and company from the settings file.
    bool formLoad() override;

    // Escape presses OK, as Enter does.
    void reject() override;
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void enableMainWindow();

    // Handlers
    void lblUser_Click();
    void Picture1_Click();
    void cmdOK_Click();

    AppContext &m_context;

    QLabel *m_lblUser = nullptr;
    QLabel *m_lblComp = nullptr;
    QPushButton *m_cmdOK = nullptr;
};
