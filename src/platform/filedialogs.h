#pragma once

#include <QString>

class QWidget;

// The file-open dialog. Returns the chosen file's full path, or the empty text on cancel.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString getOpenFileName(QWidget *parent, const QString &title,
                                    const QString &filter) = 0;
};
