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
    , m_timer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Corvane"));
    setFixedSize(611, 359);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setPixmap(shippedPicture(QStringLiteral(":/artwork/splash.png")));
    picture->setGeometry(0, 0, 611, 360);

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
    if (m_context.settings.read(Keys::firstUse) == u"yes")
        m_context.windows.show(WindowName::firstUse1);
    else
        m_context.windows.show(WindowName::main);
    m_context.windows.unload(WindowName::splash);
}
