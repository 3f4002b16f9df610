#pragma once

#include "launcher/form.h"
#include "launcher/mapfiles.h"
#include "server/serverconfig.h"

#include <QMainWindow>

struct AppContext;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class MapPreviewFrame;
class QPushButton;

// The deathmatch server maker "DM": a form whose fields become the server script crvn.cfg in
// the game's valve folder, and a start of the game as a listen server on the first map.
// It keeps no state beyond its controls.
class ServerMakerWindow final : public QMainWindow, public Form
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerMakerWindow)

public:
    explicit ServerMakerWindow(AppContext &context, QWidget *parent = nullptr);

    // Form_Load: the map list and the grey password field.
    bool formLoad() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    ServerFields fields() const;

    // Shows the first refusal, if any; true when the fields may be saved.
    bool ValidateServerSettings();
    // Writes crvn.cfg and gives the path it was saved at; on failure tells the player why and
    // answers false.
    bool WriteServerConfig(QString *savedPath);
    // What both save buttons do first: the checks, then the file; false when either stops.
    bool checkAndWrite(QString *savedPath);

    // Handlers
    void cmdMapSel_Click();
    // The preview follows the list's current item; it chooses nothing.
    void showCurrentMap();
    void password_Click();
    void cmdHelp_Click();
    void save_Click();
    void Command1_Click();
    void mnuFileitmCRVN_Click();

    AppContext &m_context;

    QGroupBox *m_frame1 = nullptr;
    QListWidget *m_maps = nullptr;
    InstalledMaps m_installed; // where each listed map lies
    MapPreviewFrame *m_mapPreview = nullptr;
    QLineEdit *m_selMap = nullptr;
    QCheckBox *m_password = nullptr;
    QLineEdit *m_passwordValue = nullptr;
    QLineEdit *m_maxPingValue = nullptr;
    QLineEdit *m_fragLimitValue = nullptr;
    QLineEdit *m_timeLimitValue = nullptr;
    QLineEdit *m_gravityValue = nullptr;
    QLineEdit *m_maxSpectatorsValue = nullptr;
    QLineEdit *m_partyName = nullptr;
    QLineEdit *m_maxPlayersValue = nullptr;
    QCheckBox *m_cheats = nullptr;
    QCheckBox *m_weaponStay = nullptr;
    QCheckBox *m_forceRespawn = nullptr;
    QCheckBox *m_footsteps = nullptr;
    QCheckBox *m_flashlight = nullptr;
    QCheckBox *m_autoCrosshair = nullptr;
    QCheckBox *m_fallDamage = nullptr;
    QCheckBox *m_download = nullptr;
    QCheckBox *m_upload = nullptr;
    QCheckBox *m_downloadInGame = nullptr;
    QCheckBox *m_chaseActive = nullptr;
    QCheckBox *m_friendlyFire = nullptr;
    QPushButton *m_command1 = nullptr;
};
