#pragma once

#include "launcher/form.h"
#include "setup/setuprules.h"

#include <QWidget>

struct AppContext;
class QBoxLayout;
class QLabel;
class QPushButton;

// What the windows of this part share: Enter and Escape on their default and cancel buttons,
// settings writes that report a failure, and the wizard's picture.
class SetupWindow : public QWidget, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SetupWindow)

public:
    explicit SetupWindow(AppContext &context, QWidget *parent = nullptr);

protected:
    void setDefaultButton(QPushButton *button);
    void setCancelButton(QPushButton *button) { m_cancel = button; }
    void keyPressEvent(QKeyEvent *event) override;
    // A control that uses Enter for itself (the directory list opens its entry with it).
    virtual bool handleEnter(QWidget *focus);

    // Writes every key as one change of crvn.ini, all or nothing; a failure is reported naming
    // the file (and the refused key), and the window stays open so that nothing typed is lost.
    bool writeSettings(const SettingWrites &writes);

    // The wizard's picture, named Picture1.
    QLabel *makePicture();
    // The wizard's page layout: the picture on the left, the content and the buttons beside.
    void layOutWizardPage(QLayout *content, const QList<QPushButton *> &buttons);

    AppContext &m_context;

private:
    QPushButton *m_default = nullptr;
    QPushButton *m_cancel = nullptr;
};
