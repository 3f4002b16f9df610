#pragma once

#include "settings/keys.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The rules of the configuration page, the directory pickers and the first-use wizard, as
// plain functions of plain values: no widgets, no file access.

// What the configuration page holds when a button saves it.
struct ConfigValues {
    bool tfcInstalled = false;
    QString program;
    QString maps;
    QString tfcMaps;
};

namespace SetupRules {

// The wizard page writes tfc (and tfcmaps only when TFC is installed), program, maps.
SettingWrites wizardConfigWrites(const ConfigValues &values);
// The configuration window writes all four, tfcmaps whether the box is checked or not, then
// the three folders derived from them, so that they follow a game that moved.
SettingWrites configWindowWrites(const ConfigValues &values);
// The wizard's refusal of the saved values, checked after writing; empty when accepted.
QString wizardConfigRefusal(const ConfigValues &values);

// The identity page's refusal: the message text and its title; both empty when accepted.
struct Refusal {
    QString text;
    QString title;
    bool isEmpty() const { return text.isEmpty(); }
};
Refusal identityRefusal(const QString &nick, const QString &clan);
SettingWrites identityWrites(const QString &nick, const QString &clan);

// The folder that holds a file or folder, in native separators and with a trailing one; the
// empty text when the path is not absolute (such as "error") or is a root.
QString containingFolder(const QString &path);
// valve, tfcdir and dds: the game folders above the two maps folders and the program's folder.
SettingWrites derivedFolderWrites(const QString &maps, const QString &tfcMaps,
                                  const QString &program);
// The closing page's writes from the stored maps, TFC maps and executable path.
SettingWrites finishWrites(const QString &maps, const QString &tfcMaps, const QString &program);

// The executable dialog's filter text, "description | pattern", in the file dialog's own
// syntax ("description (pattern)"); extra patterns join the first entry.
QString dialogFilter(QStringView filterText, const QStringList &extraPatterns = {});
// The executable dialog's filter for this platform: the native start scripts join hl.exe on
// systems other than Windows.
QString executableFilter();

// The text box a picker fills: the window and the control, by name.
struct PickerTarget {
    QStringView window;
    QStringView control;
};
// DirMaps fills the wizard page only when its caption is the wizard's exactly.
PickerTarget pickerTarget(QStringView picker, QStringView caption);

// The unavailable-volume message's volume text: a drive letter and colon in upper case, or
// the whole name (a mount point) when it is not of that form.
QString volumeLabel(const QString &volumeName);
QString unavailableVolumeTitle(const QString &volumeName);
QString unavailableVolumeText(const QString &volumeName);

// A directory as handed over: native separators, no trailing separator except at a root.
QString handedOverDirectory(const QString &path);

} // namespace SetupRules

// The texts the windows share with the pickers and the wizard.
namespace SetupText {
inline constexpr QStringView wizardMapsCaption = u"Première configuration - Répertoire des cartes";
inline constexpr QStringView configMapsCaption = u"Where are your Half-Life maps ?";
inline constexpr QStringView configTfcCaption = u"Où sont installée vos cartes TFC ?";
inline constexpr QStringView pickerCaption = u"Half-Life";
inline constexpr QStringView wizardTfcPickerCaption =
    u"Première configuration - Répertoire cartes TFC";
inline constexpr QStringView executableFilterText = u"Exécutable Half-Life (hl.exe) | hl.exe";
} // namespace SetupText
