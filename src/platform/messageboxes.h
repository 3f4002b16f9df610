#pragma once

#include <QString>

class QWidget;

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The title a message box carries when its caller gives none.
inline constexpr QStringView kApplicationTitle = u"Corvane 2.0";

struct Message {
    QString text;
    QString title; // empty: the application title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    bool systemModal = false;

    QString shownTitle() const { return title.isEmpty() ? kApplicationTitle.toString() : title; }
};

// Modal message boxes: show() returns when the player has answered.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget *parent, const Message &message) = 0;
};
