#include "platform/qtplatform.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStorageInfo>

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

Volume volumeFrom(const QStorageInfo &info)
{
#ifdef Q_OS_WIN
    const QString root = QDir::toNativeSeparators(info.rootPath());
    return Volume{root.left(2).toLower(), root};
#else
    return Volume{info.rootPath(), info.rootPath()};
#endif
}

} // namespace

MessageAnswer QtMessageBoxes::show(QWidget *parent, const Message &message)
{
    if (message.buttons == MessageButtons::YesNo) {
        QMessageBox box(toQt(message.icon), message.shownTitle(), message.text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setObjectName(QStringLiteral("messageBox"));
        box.setWindowModality(Qt::ApplicationModal);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Oui"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Non"));
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    QMessageBox box(toQt(message.icon), message.shownTitle(), message.text,
                    message.buttons == MessageButtons::OkCancel
                        ? QMessageBox::Ok | QMessageBox::Cancel
                        : QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("messageBox"));
    // Modal for the whole program: the handler that asked waits for the answer.
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

QString QtFileDialogs::getOpenFileName(QWidget *parent, const QString &title, const QString &filter,
                                       const QString &startDirectory)
{
    return QFileDialog::getOpenFileName(parent, title, startDirectory, filter);
}

QList<Volume> QtVolumes::list()
{
    QList<Volume> result;
#ifdef Q_OS_WIN
    // Every drive letter, ready or not, as the drive list of the platform shows them.
    for (const QFileInfo &drive : QDir::drives())
        result.append(volumeFrom(QStorageInfo(drive.absoluteFilePath())));
#else
    for (const QStorageInfo &info : QStorageInfo::mountedVolumes())
        result.append(volumeFrom(info));
#endif
    return result;
}

Volume QtVolumes::volumeOf(const QString &directory)
{
    return volumeFrom(QStorageInfo(directory));
}

bool QtVolumes::isReady(const Volume &volume)
{
    const QStorageInfo info(volume.root);
    return info.isValid() && info.isReady() && QDir(volume.root).isReadable();
}
