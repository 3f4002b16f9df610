#pragma once

#include "launcher/form.h"

#include <QMainWindow>

struct AppContext;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpacerItem;

// The window "connect": starts the game joined to the server given by address and port.
// It reads nothing but the game program's path, and only when "Lancer" is pressed.
class ConnectWindow final : public QMainWindow, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectWindow)

public:
    explicit ConnectWindow(AppContext &context, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void placePortBox();

    // Handlers
    void cmdLaunch_Click();
    void mnuFileitmCRVN_Click();

    AppContext &m_context;

    QGroupBox *m_frame1 = nullptr;
    QLineEdit *m_ipadress = nullptr;
    QLabel *m_svPort = nullptr;
    QSpacerItem *m_portSlot = nullptr;
    QLineEdit *m_port = nullptr;
    QCheckBox *m_close = nullptr;
    QPushButton *m_cmdLaunch = nullptr;
};
