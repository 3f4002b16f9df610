#pragma once

#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/volumes.h"

class QtMessageBoxes final : public MessageBoxes
{
public:
    MessageAnswer show(QWidget *parent, const Message &message) override;
};

class QtFileDialogs final : public FileDialogs
{
public:
    QString getOpenFileName(QWidget *parent, const QString &title, const QString &filter,
                            const QString &startDirectory) override;
};

class QtVolumes final : public Volumes
{
public:
    QList<Volume> list() override;
    Volume volumeOf(const QString &directory) override;
    bool isReady(const Volume &volume) override;
};
