#include "setup/directorypicker.h"

#include "launcher/appcontext.h"
#include "launcher/detected.h"
#include "launcher/windowmanager.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The path a directory list entry opens.
constexpr int kPathRole = Qt::UserRole;

QString cleaned(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

} // namespace

DirectoryPicker::DirectoryPicker(AppContext &context, PickerKind kind, QWidget *parent)
    : SetupWindow(context, parent)
    , m_kind(kind)
{
    setWindowTitle(m_kind.caption.toString());

    m_drve = new QComboBox(this);
    m_drve->setObjectName(QStringLiteral("drve"));
    m_rep = new QListWidget(this);
    m_rep->setObjectName(QStringLiteral("rep"));
    m_rep->setMinimumSize(260, 220);
    auto *command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    auto *command2 = new QPushButton(QStringLiteral("Cancel"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    setDefaultButton(command1);
    setCancelButton(command2);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(command1);
    buttons->addWidget(command2);
    buttons->addStretch();
    auto *lists = new QVBoxLayout;
    lists->addWidget(m_drve);
    lists->addWidget(m_rep, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(m_drve, &QComboBox::currentIndexChanged, this, &DirectoryPicker::drve_Change);
    connect(m_rep, &QListWidget::itemDoubleClicked, this, &DirectoryPicker::openEntry);
    connect(command1, &QPushButton::clicked, this, &DirectoryPicker::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &DirectoryPicker::Command2_Click);
}

bool DirectoryPicker::formLoad()
{
    Volumes &volumes = m_context.platform.volumes;
    m_volumes = volumes.list();
    // A detected game opens the list in its folder; otherwise at the current volume's root.
    const QString detected = detectedGameFolder(m_context);
    Volume current = volumes.volumeOf(detected.isEmpty() ? QDir::currentPath() : detected);
    if (current.root.isEmpty())
        current = Volume{QDir::rootPath(), QDir::rootPath()};

    m_selectedVolume = -1;
    for (int i = 0; i < m_volumes.size(); ++i) {
        if (m_volumes.at(i).root == current.root) {
            m_selectedVolume = i;
            break;
        }
    }
    if (m_selectedVolume < 0) {
        m_volumes.append(current);
        m_selectedVolume = int(m_volumes.size()) - 1;
    }
    {
        const QSignalBlocker blocker(m_drve);
        for (const Volume &volume : std::as_const(m_volumes))
            m_drve->addItem(volume.name);
        m_drve->setCurrentIndex(m_selectedVolume);
    }
    // The list always has a current directory: the filesystem's root when the volume's fails.
    m_root = cleaned(current.root);
    if ((detected.isEmpty() || !setDirectory(detected)) && !setDirectory(current.root)) {
        m_root = cleaned(QDir::rootPath());
        if (!setDirectory(QDir::rootPath())) {
            m_current = m_root;
            fillDirectoryList();
        }
    }
    return true;
}

QString DirectoryPicker::currentDirectory() const
{
    return SetupRules::handedOverDirectory(m_current);
}

bool DirectoryPicker::setDirectory(const QString &path)
{
    const QDir directory(path);
    if (path.isEmpty() || !directory.exists() || !directory.isReadable())
        return false;
    m_current = cleaned(path);
    fillDirectoryList();
    return true;
}

void DirectoryPicker::fillDirectoryList()
{
    // The parent chain from the volume's root down to the current directory, then its
    // subdirectories, each one step further in.
    QStringList chain{m_current};
    QDir walker(m_current);
    while (cleaned(walker.absolutePath()) != m_root && walker.cdUp())
        chain.prepend(cleaned(walker.absolutePath()));

    m_rep->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    qsizetype depth = 0;
    for (const QString &path : std::as_const(chain)) {
        const QString name = QDir(path).isRoot() ? QDir::toNativeSeparators(path)
                                                 : QDir(path).dirName();
        auto *item = new QListWidgetItem(open, QString(depth * 2, u' ') + name, m_rep);
        item->setData(kPathRole, path);
        ++depth;
    }
    m_rep->setCurrentRow(int(chain.size()) - 1);
    const QDir current(m_current);
    const QStringList children = current.entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                   QDir::Name | QDir::IgnoreCase);
    for (const QString &child : children) {
        auto *item = new QListWidgetItem(closed, QString(depth * 2, u' ') + child, m_rep);
        item->setData(kPathRole, cleaned(current.filePath(child)));
    }
}

void DirectoryPicker::openEntry(QListWidgetItem *item)
{
    if (!item)
        return;
    // Taken before the list is refilled, which deletes the item.
    const QString path = item->data(kPathRole).toString();
    setDirectory(path);
}

bool DirectoryPicker::handleEnter(QWidget *focus)
{
    if (focus != m_rep)
        return false;
    openEntry(m_rep->currentItem());
    return true;
}

void DirectoryPicker::drve_Change(int index)
{
    if (index < 0 || index >= m_volumes.size())
        return;
    const Volume volume = m_volumes.at(index);
    if (!m_context.platform.volumes.isReady(volume)) {
        Message message{SetupRules::unavailableVolumeText(volume.name),
                        SetupRules::unavailableVolumeTitle(volume.name), MessageIcon::Critical};
        message.systemModal = true;
        m_context.platform.messages.show(this, message);
        // Back on the volume that was selected, its root in the directory list.
        const QSignalBlocker blocker(m_drve);
        m_drve->setCurrentIndex(m_selectedVolume);
        if (m_selectedVolume >= 0 && m_selectedVolume < m_volumes.size()) {
            const QString root = m_volumes.at(m_selectedVolume).root;
            if (QDir(root).exists()) {
                m_root = cleaned(root);
                setDirectory(root);
            }
        }
        return;
    }
    m_selectedVolume = index;
    // Any other failure leaves the directory list as it was.
    if (QDir(volume.root).exists() && QDir(volume.root).isReadable()) {
        m_root = cleaned(volume.root);
        setDirectory(volume.root);
    }
}

void DirectoryPicker::Command1_Click()
{
    const SetupRules::PickerTarget target = SetupRules::pickerTarget(m_kind.name, windowTitle());
    // The window to fill may have been closed meanwhile: then nothing is handed over.
    if (QWidget *window = m_context.windows.find(target.window)) {
        if (auto *box = window->findChild<QLineEdit *>(target.control.toString()))
            box->setText(currentDirectory());
    }
    m_context.windows.unload(m_kind.name);
}

void DirectoryPicker::Command2_Click()
{
    m_context.windows.unload(m_kind.name);
}
