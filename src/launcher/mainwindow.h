#pragma once

#include "launcher/form.h"
#include "launcher/launchcommand.h"
#include "launcher/mapfiles.h"
#include "maps/mappreview.h"

#include <QMainWindow>

struct AppContext;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class MapListView;
class MapPreviewFrame;
class QStringListModel;
class QPushButton;
class QRadioButton;

// The hub window "sp": game type, map, options, the two launch buttons and the menus that open
// every other window. It keeps no state of its own beyond its controls.
class MainWindow final : public QMainWindow, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    explicit MainWindow(AppContext &context, QWidget *parent = nullptr);

    // Form_Load: the settings check, the TFC option and the map list.
    bool formLoad() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void setMapDirectory(const QString &directory);
    // The TFC option and the map list of the current game type, from the settings as they are.
    void followSettings();
    void applyGameType(GameType type);
    GameType gameType() const;

    // Handlers
    void confirmMap_Click();
    // The preview follows the list's current item; it chooses nothing.
    void showCurrentMap();
    void updatePreview();
    void chkAdd_Click();
    void parameters_Change();
    void launch_Click();
    void launchCustom_Click();
    void openInstead(QStringView window);
    void mnuFileMapcleItm_Click();
    void mnuEdititmReset_Click();
    void mnuHelpitmAbout_Click();

    AppContext &m_context;

    QLineEdit *m_txtCommand = nullptr;
    MapListView *m_dirFichiers = nullptr; // a plain list of names: light with thousands of maps
    QStringListModel *m_maps = nullptr;
    InstalledMaps m_installed; // where each listed map lies
    MapPreview::SpawnKind m_mapKind = MapPreview::SpawnKind::Deathmatch;
    MapPreviewFrame *m_mapPreview = nullptr;
    QPushButton *m_confirmMap = nullptr;
    QRadioButton *m_optDM = nullptr;
    QRadioButton *m_optSP = nullptr;
    QRadioButton *m_optTFC = nullptr;
    QRadioButton *m_optCustom = nullptr;
    QLineEdit *m_txtCustom = nullptr;
    QComboBox *m_cmbDifficult = nullptr;
    QCheckBox *m_numeric = nullptr;
    QCheckBox *m_chkAdd = nullptr;
    QLineEdit *m_parameters = nullptr;
    QCheckBox *m_cheats = nullptr;
    QCheckBox *m_console = nullptr;
    QCheckBox *m_dev = nullptr;
    QLabel *m_selmap = nullptr;
    QLineEdit *m_txtSelMap = nullptr;
    QPushButton *m_launch = nullptr;
    QPushButton *m_launchCustom = nullptr;
    QAction *m_closeAfterLaunch = nullptr;
    bool m_listFresh = false; // the map list was read by the load that shows the window
};
