#pragma once

#include <QString>

class QWidget;

// The file-open dialog. Returns the chosen file's full path, or the empty text on cancel.
// An empty start directory: where the platform opens it by default.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString getOpenFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &startDirectory) = 0;
};
