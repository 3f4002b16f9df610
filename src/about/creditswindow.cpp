#include "about/creditswindow.h"

#include "about/creditstext.h"
#include "launcher/named.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

// Sizes in twips, as the window was drawn.
constexpr double kVisibleWidth = 5130;
constexpr double kVisibleHeight = 3120;
constexpr double kPictWidth = 5190;
constexpr double kPictHeight = 3180;
constexpr int kTickMs = 10;

} // namespace

CreditsWindow::CreditsWindow(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("L'horrible équipe !"));
    buildControls();
}

void CreditsWindow::buildControls()
{
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    setFixedSize(twipsToPixels(kVisibleWidth, dpiX), twipsToPixels(kVisibleHeight, dpiY));

    auto *pict = named(new QLabel(this), "pict");
    pict->setPixmap(QPixmap(QStringLiteral(":/about/credits.png")));
    pict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pict->setGeometry(0, 0, twipsToPixels(kPictWidth, dpiX), twipsToPixels(kPictHeight, dpiY));
    m_pict = pict;

    m_lbl = named(new QLabel(m_pict), "lbl");
    QFont font(QStringLiteral("Arial"), 11, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    m_lbl->setFont(font);
    QPalette palette = m_lbl->palette();
    palette.setColor(QPalette::WindowText, Qt::yellow);
    m_lbl->setPalette(palette);
    m_lbl->setAutoFillBackground(false);
    m_lbl->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lbl->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lbl->setTextFormat(Qt::PlainText);

    // Holds the credits out of sight; the label shows a copy.
    m_txt = named(new QPlainTextEdit(this), "txt");
    m_txt->setPlainText(creditsText());
    m_txt->setReadOnly(true);
    m_txt->setGeometry(0, height() + 10, 100, 50);
    m_txt->hide();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTickMs);
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, &CreditsWindow::Timer1_Timer);
}

bool CreditsWindow::formLoad()
{
    QString text = m_txt->toPlainText();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.remove(QLatin1Char('\r'));
    m_lbl->setText(text);
    m_lbl->adjustSize();

    const int dpiY = logicalDpiY();
    m_scroll.emplace(pixelsToTwips(m_lbl->height(), dpiY), pixelsToTwips(m_pict->height(), dpiY));
    placeLabel();
    m_timer1->start();
    return true;
}

double CreditsWindow::scrollTop() const
{
    return m_scroll ? m_scroll->top() : 0.0;
}

void CreditsWindow::placeLabel()
{
    m_lbl->move((m_pict->width() - m_lbl->width()) / 2,
                twipsToPixels(m_scroll->top(), logicalDpiY()));
}

void CreditsWindow::Timer1_Timer()
{
    if (!m_scroll)
        return;
    m_scroll->step();
    placeLabel();
}

void CreditsWindow::keyPressEvent(QKeyEvent *event)
{
    // A window with nothing to answer: Escape leaves it, as a player tries first.
    if (event->key() == Qt::Key_Escape
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CreditsWindow::closeEvent(QCloseEvent *event)
{
    m_timer1->stop();
    event->accept();
}
