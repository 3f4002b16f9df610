#pragma once

#include <QWidget>

struct AppContext;
class QLabel;
class QPixmap;
class QTimer;

// A PNG shipped in the program's resources, read without probing the image plugins.
QPixmap shippedPicture(const QString &path);

// The start-up window: the artwork for three seconds, then the wizard or the main window.
class SplashWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SplashWindow)

public:
    explicit SplashWindow(AppContext &context, QWidget *parent = nullptr);

    // Timer1_Timer: routes on MISC/firstuse, then unloads the splash.
    void route();

private:
    AppContext &m_context;
    QLabel *m_picture;
    QTimer *m_timer;
};
