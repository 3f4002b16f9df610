#include "launcher/splashwindow.h"

#include "launcher/appcontext.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"

#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

QPixmap shippedPicture(const QString &path)
{
    // A picture of our own is a PNG: named as such, the reader neither loads every image
    // plugin to ask which one knows the file, nor keeps a second copy of the picture while
    // converting it for the screen.
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

SplashWindow::SplashWindow(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_context(context)
    , m_picture(new QLabel(this))
    , m_timer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Corvane"));
    setFixedSize(611, 359);

    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(shippedPicture(QStringLiteral(":/artwork/splash.png")));
    m_picture->setGeometry(0, 0, 611, 360);

    auto *label = new QLabel(QStringLiteral("Chargement ..."), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setStyleSheet(QStringLiteral("color: #f4e6c8; background: transparent;"));
    label->setGeometry(16, 326, 300, 24);

    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(3000);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::route);
    m_timer->start();
}

void SplashWindow::route()
{
    m_timer->stop();
    // Exactly "yes", letter case included, starts the first-use wizard.
    const QStringView next = m_context.settings.read(Keys::firstUse) == u"yes"
        ? WindowName::firstUse1
        : WindowName::main;
    // The next window's load handler runs with the artwork still on screen, so a message it
    // raises stands over the splash.
    const bool loaded = m_context.windows.load(next) != nullptr;
    // The artwork and the window image holding it go before the next window paints its own,
    // not at the next turn of the event loop, which may come after that paint.
    hide();
    m_picture->clear();
    destroy();
    m_context.windows.unload(WindowName::splash);
    if (loaded)
        m_context.windows.show(next);
}
