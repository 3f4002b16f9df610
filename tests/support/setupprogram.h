#pragma once

// The setup windows' tests: the program with those windows registered, and how a player works
// them. Header only: the tests that use it link the setup windows themselves.

#include "setup/registration.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>

struct SetupProgram : TestProgram {
    explicit SetupProgram(const QByteArray &ini) : TestProgram(ini)
    {
        registerSetupWindows(context());
    }
    // A path under the test's home, as the windows show it.
    QString at(const QString &relative) const
    {
        return QDir::toNativeSeparators(home() + u'/' + relative);
    }
};

inline void typeInto(QWidget *window, const char *name, const QString &text)
{
    auto *box = child<QLineEdit>(window, name);
    box->clear();
    QTest::keyClicks(box, text);
}

inline void click(QWidget *window, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(window, name), Qt::LeftButton);
}

inline QString text(QWidget *window, const char *name)
{
    return child<QLineEdit>(window, name)->text();
}

// Runs the deleteLater of closed windows now.
inline void flushDeletes()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
