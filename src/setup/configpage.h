#pragma once

#include "setup/setuprules.h"

#include <QString>
#include <QStringView>
#include <QWidget>

struct AppContext;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What differs between the configuration window and the wizard's configuration page.
struct ConfigPageVariant {
    QString frameCaption;       // frmHLC
    QString programLabel;       // Label1
    QString tfcLabel;           // tfcCaption
    QString dialogTitle;        // the executable dialog
    QString mapsPickerCaption;  // given to DirMaps
    bool mapsCaptionBeforeShow; // the wizard names DirMaps before showing it, config after
    QStringView tfcPicker;      // configtfc or DirMapsTFC
    QString tfcPickerCaption;   // given after showing; empty: the picker keeps its own
    bool detectOnLoad = false;  // the wizard fills missing keys from a single installation
};

struct Installation;

// The configuration page's controls and handlers, shared by `config` and `firstuseconfig`.
class ConfigPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConfigPage)

public:
    ConfigPage(AppContext &context, ConfigPageVariant variant, QWidget *parent);

    // Form_Load: the four values from the settings file.
    void load();
    ConfigValues values() const;

private:
    void setTfcMapsUsable(bool usable);
    void fill(const Installation &installation);
    void detectOnLoad();

    // Handlers
    void chkTFC_Click();
    void Command2_Click();
    void cmdMaps_Click();
    void cmdTFCMaps_Click();
    void cmdDetect_Click();

    AppContext &m_context;
    ConfigPageVariant m_variant;

    QLineEdit *m_program = nullptr;
    QLineEdit *m_txtMaps = nullptr;
    QCheckBox *m_chkTFC = nullptr;
    QLineEdit *m_tfcMaps = nullptr;
    QLabel *m_lblDetected = nullptr; // the wizard's only
};
