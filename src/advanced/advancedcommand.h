#pragma once

#include <QString>
#include <QStringList>

// The partial command lines of the advanced options window. Each generator takes the state of
// one tab and returns its switches (each beginning with one blank) and, in the order the
// player must see them, the complaints about what was left unchosen. Texts typed by the player
// go in exactly as typed.
namespace Advanced {

struct Part {
    QString commandLine;
    QStringList messages; // shown before the part is displayed; the part is kept either way
};

// The title every complaint of the window carries.
QString errorTitle();

// The entries the window's lists are filled with when it loads.
QStringList resolutions();
QStringList playerModels();
QStringList cdTracks();
QStringList skillLevels();

struct VideoSettings {
    bool playerShadows = false;
    bool decals = false;
    bool maxBrightness = false;
    bool rSpeeds = false;
    bool reflectiveTextures = false;
    bool console = false;
    bool software = false;
    bool direct3D = false;
    bool openGL = false;
    bool windowed = false;
    bool fullScreen = false;
    QString resolution; // the selected entry; empty when none
    bool additional = false;
    QString additionalText;
    bool noIntro = false;
    bool developer = false;
};
Part videoPart(const VideoSettings &video);

// The resolution switch of one list entry; empty for a text that is not an entry.
QString resolutionSwitch(const QString &entry);

struct ClientSettings {
    QString model; // the selected entry; empty when none
    bool allowDownload = false;
    bool allowUpload = false;
    bool highQualityModels = false;
    bool deltaCompressionOff = false;
    bool spectator = false;
    bool ipx = false;
    bool tcpIp = false;
    bool preload = false;
    QString name;
    QString maxFrameRate;
    QString address;
};
Part clientPart(const ClientSettings &client);

enum class CdTrackMode { None, PlayOnce, Loop };

struct AudioSettings {
    bool cdAudio = false;
    bool highQualitySound = false;
    bool eax = false;
    bool a3d = false;
    bool noSound = false;
    QString gameVolume; // the caption beside the slider: empty until it was first moved
    QString suitVolume;
    CdTrackMode cdMode = CdTrackMode::None;
    QString track; // the selected entry; empty when none
};
Part audioPart(const AudioSettings &audio);

// A slider's caption (0 to 10) as the game's volume (0 to 1): "7" gives "0.7", "10" "1.0".
// The empty caption of a volume never chosen stays empty.
QString volumeValue(const QString &caption);

struct MiscSettings {
    bool deathmatch = false;
    bool coop = false;
    bool humanBlood = false;
    bool humanGibs = false;
    bool alienBlood = false;
    bool alienGibs = false;
    QString skill;
    QString fakeLag;
    QString fakeLoss;
};
Part miscPart(const MiscSettings &misc);

// The full command: what it showed so far, then the video, audio, miscellaneous and client
// parts, joined as they stand.
QString extendFullCommand(const QString &current, const QString &video, const QString &audio,
                          const QString &misc, const QString &client);

} // namespace Advanced
