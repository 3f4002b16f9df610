#include "connect/connectwindow.h"

#include "connect/connectcommand.h"
#include "launcher/appcontext.h"
#include "launcher/gamestart.h"
#include "launcher/named.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace {

constexpr int kPortWidth = 70;

} // namespace

ConnectWindow::ConnectWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
{
    setWindowTitle(QStringLiteral("Half-Life Connection Tool"));
    buildControls();
    buildMenus();
}

void ConnectWindow::buildControls()
{
    auto *central = new QWidget(this);

    m_frame1 = named(new QGroupBox(QStringLiteral("Informations sur le serveur :"), central),
                     "Frame1");
    auto *label1 = named(new QLabel(QStringLiteral("Adresse IP :"), m_frame1), "Label1");
    m_ipadress = named(new QLineEdit(m_frame1), "ipadress");
    label1->setBuddy(m_ipadress);
    m_svPort = named(new QLabel(QStringLiteral("Port : "), m_frame1), "sv_port");
    // The port box belongs to the window, not to the frame; the frame keeps an empty slot
    // beside its label and the box is laid over that slot.
    m_port = named(new QLineEdit(QStringLiteral("27015"), central), "port");
    m_port->setFixedWidth(kPortWidth);
    m_svPort->setBuddy(m_port);
    m_portSlot = new QSpacerItem(kPortWidth, m_port->sizeHint().height(), QSizePolicy::Fixed,
                                 QSizePolicy::Fixed);
    {
        auto *layout = new QGridLayout(m_frame1);
        layout->addWidget(label1, 0, 0);
        layout->addWidget(m_ipadress, 0, 1, 1, 2);
        layout->addWidget(m_svPort, 1, 0);
        layout->addItem(m_portSlot, 1, 1);
        layout->setColumnStretch(2, 1);
    }
    m_frame1->installEventFilter(this);

    m_close = named(new QCheckBox(QStringLiteral("Fermer"), central), "close");
    m_close->setToolTip(QStringLiteral("Fermer cette fenêtre une fois le jeu lancé"));
    m_cmdLaunch = named(new QPushButton(QStringLiteral("Lancer"), central), "cmdLaunch");
    m_cmdLaunch->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_close);
    buttons->addStretch();
    buttons->addWidget(m_cmdLaunch);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_frame1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    m_port->raise();

    setTabOrder(m_ipadress, m_port);
    setTabOrder(m_port, m_close);
    setTabOrder(m_close, m_cmdLaunch);

    connect(m_cmdLaunch, &QPushButton::clicked, this, &ConnectWindow::cmdLaunch_Click);
}

void ConnectWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Fichier"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction *crvn = file->addAction(QStringLiteral("&Corvane ..."));
    crvn->setObjectName(QStringLiteral("mnuFileitmCRVN"));
    connect(crvn, &QAction::triggered, this, &ConnectWindow::mnuFileitmCRVN_Click);
}

bool ConnectWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_frame1
        && (event->type() == QEvent::Resize || event->type() == QEvent::Move
            || event->type() == QEvent::LayoutRequest))
        placePortBox();
    return QMainWindow::eventFilter(watched, event);
}

void ConnectWindow::placePortBox()
{
    const QRect slot = m_portSlot->geometry();
    if (!slot.isValid())
        return;
    const QPoint topLeft = m_frame1->mapTo(m_port->parentWidget(), slot.topLeft());
    m_port->setGeometry(QRect(topLeft, QSize(kPortWidth, slot.height())));
}

void ConnectWindow::cmdLaunch_Click()
{
    const QString program = m_context.settings.read(Keys::program);
    startGame(m_context, this, connectCommand(program, m_ipadress->text(), m_port->text()),
              WindowStyle::Maximized);
    // The player asked for this window to go once the game is started; when it was the last
    // window, the program ends with it.
    if (m_close->isChecked())
        m_context.windows.unload(WindowName::connect);
}

void ConnectWindow::mnuFileitmCRVN_Click()
{
    m_context.windows.replace(WindowName::connect, WindowName::main);
}
