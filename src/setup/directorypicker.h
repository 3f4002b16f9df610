#pragma once

#include "platform/volumes.h"
#include "setup/setupwindow.h"

#include <QList>
#include <QString>
#include <QStringView>

class QComboBox;
class QListWidget;
class QListWidgetItem;

// What differs between the three pickers: their name (which decides the text box they fill,
// with DirMaps also looking at its caption) and the caption they are created with.
struct PickerKind {
    QStringView name;
    QStringView caption;
};

// `DirMaps`, `DirMapsTFC`, `configtfc`: a modeless directory chooser that writes the current
// directory into a text box of the window that opened it, which stays open meanwhile.
class DirectoryPicker final : public SetupWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DirectoryPicker)

public:
    DirectoryPicker(AppContext &context, PickerKind kind, QWidget *parent = nullptr);

    // Form_Load: the volume of the process's current directory, at its root.
    bool formLoad() override;
    // The directory list's current directory, as it would be handed over.
    QString currentDirectory() const;

protected:
    bool handleEnter(QWidget *focus) override;

private:
    bool setDirectory(const QString &path);
    void fillDirectoryList();
    void openEntry(QListWidgetItem *item);

    // Handlers
    void drve_Change(int index);
    void Command1_Click();
    void Command2_Click();

    PickerKind m_kind;
    QList<Volume> m_volumes;
    int m_selectedVolume = -1;
    QString m_root;    // the selected volume's root, where the parent chain starts
    QString m_current; // cleaned path with '/' separators

    QComboBox *m_drve = nullptr;
    QListWidget *m_rep = nullptr;
};
