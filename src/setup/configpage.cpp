#include "setup/configpage.h"

#include "launcher/appcontext.h"
#include "launcher/detected.h"
#include "launcher/named.h"
#include "launcher/systemcolors.h"
#include "launcher/windowmanager.h"
#include "launcher/windownames.h"
#include "setup/detectchoice.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ConfigPage::ConfigPage(AppContext &context, ConfigPageVariant variant, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_variant(std::move(variant))
{
    const QString browse = QStringLiteral("Parcourir");

    auto *frmHLC = named(new QGroupBox(m_variant.frameCaption, this), "frmHLC");
    auto *label1 = named(new QLabel(m_variant.programLabel, frmHLC), "Label1");
    m_program = named(new QLineEdit(frmHLC), "program");
    auto *command2 = named(new QPushButton(browse, frmHLC), "Command2");
    auto *lblMaps = named(new QLabel(QStringLiteral("Répertoire cartes :"), frmHLC), "lblMaps");
    m_txtMaps = named(new QLineEdit(frmHLC), "txtMaps");
    auto *cmdMaps = named(new QPushButton(browse, frmHLC), "cmdMaps");
    auto *cmdDetect = named(new QPushButton(QStringLiteral("&Détecter"), frmHLC), "cmdDetect");
    cmdDetect->setToolTip(QStringLiteral("Cherche Half-Life dans les bibliothèques Steam"));
    {
        auto *grid = new QGridLayout(frmHLC);
        grid->addWidget(label1, 0, 0);
        grid->addWidget(m_program, 0, 1);
        grid->addWidget(command2, 0, 2);
        grid->addWidget(lblMaps, 1, 0);
        grid->addWidget(m_txtMaps, 1, 1);
        grid->addWidget(cmdMaps, 1, 2);
        grid->addWidget(cmdDetect, 2, 2);
        if (m_variant.detectOnLoad) {
            m_lblDetected = named(new QLabel(frmHLC), "lblDetected");
            m_lblDetected->setWordWrap(true);
            m_lblDetected->hide();
            grid->addWidget(m_lblDetected, 2, 0, 1, 2);
        }
        grid->setColumnStretch(1, 1);
    }

    auto *frmTFC = named(new QGroupBox(QStringLiteral("Team Fortress Classic "), this), "frmTFC");
    m_chkTFC = named(new QCheckBox(QStringLiteral("&Team Fortress Classic est installé"), frmTFC),
                     "chkTFC");
    auto *tfcCaption = named(new QLabel(m_variant.tfcLabel, frmTFC), "tfcCaption");
    m_tfcMaps = named(new QLineEdit(frmTFC), "TFCmaps");
    auto *cmdTFCMaps = named(new QPushButton(browse, frmTFC), "cmdTFCMaps");
    {
        auto *grid = new QGridLayout(frmTFC);
        grid->addWidget(m_chkTFC, 0, 0, 1, 3);
        grid->addWidget(tfcCaption, 1, 0);
        grid->addWidget(m_tfcMaps, 1, 1);
        grid->addWidget(cmdTFCMaps, 1, 2);
        grid->setColumnStretch(1, 1);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frmHLC);
    layout->addWidget(frmTFC);
    setMinimumWidth(420);

    connect(m_chkTFC, &QCheckBox::toggled, this, &ConfigPage::chkTFC_Click);
    connect(command2, &QPushButton::clicked, this, &ConfigPage::Command2_Click);
    connect(cmdMaps, &QPushButton::clicked, this, &ConfigPage::cmdMaps_Click);
    connect(cmdTFCMaps, &QPushButton::clicked, this, &ConfigPage::cmdTFCMaps_Click);
    connect(cmdDetect, &QPushButton::clicked, this, &ConfigPage::cmdDetect_Click);
}

void ConfigPage::load()
{
    const QString tfc = m_context.settings.read(Keys::tfc);
    m_program->setText(m_context.settings.read(Keys::program));
    m_txtMaps->setText(m_context.settings.read(Keys::maps));
    m_tfcMaps->setText(m_context.settings.read(Keys::tfcMaps));
    setTfcMapsUsable(false);
    // Exactly "true": another letter case leaves the box unchecked.
    if (tfc == u"true")
        m_chkTFC->setChecked(true);
    if (m_chkTFC->isChecked())
        setTfcMapsUsable(true);
    if (m_variant.detectOnLoad)
        detectOnLoad();
}

void ConfigPage::detectOnLoad()
{
    m_lblDetected->clear();
    m_lblDetected->hide();
    // Only a page that would show "error" is filled, and only when there is no choice to make.
    if (m_program->text() != kMissing || m_txtMaps->text() != kMissing)
        return;
    const Detection detection = detectGame(m_context);
    if (detection.installations.size() != 1)
        return;
    const Installation &found = detection.installations.first();
    fill(found);
    m_lblDetected->setText(QStringLiteral("Half-Life trouvé : ") + found.gameFolder);
    m_lblDetected->show();
}

void ConfigPage::fill(const Installation &installation)
{
    m_program->setText(installation.program);
    m_txtMaps->setText(installation.maps);
    if (installation.tfc)
        m_tfcMaps->setText(installation.tfcMaps);
    m_chkTFC->setChecked(installation.tfc);
    setTfcMapsUsable(installation.tfc);
}

void ConfigPage::cmdDetect_Click()
{
    const Detection detection = detectGame(m_context);
    if (detection.installations.isEmpty()) {
        m_context.platform.messages.show(
            window(),
            Message{Detect::nothingFoundText(detection), QString(), MessageIcon::Information});
        return;
    }
    int chosen = 0;
    if (detection.installations.size() > 1) {
        chosen = chooseInstallation(window(), detection.installations);
        if (chosen < 0)
            return;
    }
    // Filled only: the page's own button saves, as for anything typed.
    fill(detection.installations.at(chosen));
}

ConfigValues ConfigPage::values() const
{
    return ConfigValues{m_chkTFC->isChecked(), m_program->text(), m_txtMaps->text(),
                        m_tfcMaps->text()};
}

void ConfigPage::setTfcMapsUsable(bool usable)
{
    if (usable) {
        m_tfcMaps->setEnabled(true);
        setBackground(m_tfcMaps, SystemColor::window());
    } else {
        setBackground(m_tfcMaps, SystemColor::scrollBar());
        m_tfcMaps->setEnabled(false);
    }
}

void ConfigPage::chkTFC_Click()
{
    // The text stays, and its browse button stays usable: a directory can be picked into the
    // disabled box.
    setTfcMapsUsable(m_chkTFC->isChecked());
}

void ConfigPage::Command2_Click()
{
    const QString chosen = m_context.platform.files.getOpenFileName(window(), m_variant.dialogTitle,
                                                                    SetupRules::executableFilter(),
                                                                    detectedGameFolder(m_context));
    // A cancelled dialog keeps the path the player had.
    if (!chosen.isEmpty())
        m_program->setText(QDir::toNativeSeparators(chosen));
}

void ConfigPage::cmdMaps_Click()
{
    WindowManager &windows = m_context.windows;
    if (m_variant.mapsCaptionBeforeShow) {
        // DirMaps picks its target from its caption, so it must carry it before anything else.
        if (QWidget *picker = windows.load(WindowName::dirMaps)) {
            picker->setWindowTitle(m_variant.mapsPickerCaption);
            windows.show(WindowName::dirMaps);
        }
    } else if (QWidget *picker = windows.show(WindowName::dirMaps)) {
        picker->setWindowTitle(m_variant.mapsPickerCaption);
    }
}

void ConfigPage::cmdTFCMaps_Click()
{
    QWidget *picker = m_context.windows.show(m_variant.tfcPicker);
    if (picker && !m_variant.tfcPickerCaption.isEmpty())
        picker->setWindowTitle(m_variant.tfcPickerCaption);
}
