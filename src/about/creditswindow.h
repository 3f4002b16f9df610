#pragma once

#include "about/creditsscroll.h"
#include "launcher/form.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QTimer;

// The credits window "secret": the credits text scrolls up over a picture, endlessly, from
// the moment the window loads until it is closed.
class CreditsWindow final : public QWidget, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CreditsWindow)

public:
    explicit CreditsWindow(QWidget *parent = nullptr);

    // Form_Load: the text below the picture, then the timer.
    bool formLoad() override;

    // The scroll position in twips from the top of the picture.
    double scrollTop() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void placeLabel();

    // Handlers
    void Timer1_Timer();

    QWidget *m_pict = nullptr;
    QLabel *m_lbl = nullptr;
    QPlainTextEdit *m_txt = nullptr;
    QTimer *m_timer1 = nullptr;
    std::optional<CreditsScroll> m_scroll;
};
