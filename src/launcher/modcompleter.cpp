#include "launcher/modcompleter.h"

#include "detect/liblist.h"

#include <QAbstractListModel>
#include <QCompleter>
#include <QLineEdit>

namespace {

// The folder is what completes; the list shows "folder  (name)".
class ModModel final : public QAbstractListModel
{
public:
    ModModel(QList<InstalledMod> mods, QObject *parent)
        : QAbstractListModel(parent)
        , m_mods(std::move(mods))
    {
    }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(m_mods.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_mods.size())
            return {};
        const InstalledMod &mod = m_mods.at(index.row());
        if (role == Qt::EditRole)
            return mod.folder;
        if (role == Qt::DisplayRole)
            return mod.name.isEmpty() || mod.name == mod.folder
                ? mod.folder
                : QStringLiteral("%1  (%2)").arg(mod.folder, mod.name);
        return {};
    }

private:
    QList<InstalledMod> m_mods;
};

} // namespace

void offerInstalledMods(QLineEdit *box, const QString &gameFolder)
{
    if (QCompleter *old = box->completer()) {
        box->setCompleter(nullptr);
        old->deleteLater();
    }
    QList<InstalledMod> mods = installedMods(gameFolder);
    if (mods.isEmpty())
        return;
    auto *completer = new QCompleter(box);
    completer->setModel(new ModModel(std::move(mods), completer));
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setObjectName(QStringLiteral("installedMods"));
    box->setCompleter(completer);
}
