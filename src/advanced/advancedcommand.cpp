#include "advanced/advancedcommand.h"

namespace Advanced {

namespace {

QString flag(const char *name, bool on)
{
    return QLatin1String(name) + (on ? QLatin1String(" 1") : QLatin1String(" 0"));
}

} // namespace

QString errorTitle()
{
    return QStringLiteral("Error!");
}

QStringList resolutions()
{
    return {QStringLiteral("320x200"), QStringLiteral("400x300"), QStringLiteral("512x384"),
            QStringLiteral("640x480"), QStringLiteral("800x600"), QStringLiteral("1024x768")};
}

QStringList playerModels()
{
    return {QStringLiteral("Barney"),   QStringLiteral("Scientist"), QStringLiteral("Skeleton"),
            QStringLiteral("Helmet"),   QStringLiteral("Gordon"),    QStringLiteral("Gina"),
            QStringLiteral("Cannibal"), QStringLiteral("Robo")};
}

QStringList cdTracks()
{
    QStringList tracks;
    for (int track = 1; track <= 18; ++track)
        tracks.append(QString::number(track));
    return tracks;
}

QStringList skillLevels()
{
    return {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
}

QString volumeValue(const QString &caption)
{
    bool ok = false;
    const int position = caption.toInt(&ok);
    if (!ok || position < 0)
        return caption;
    // Written by hand: one decimal and a dot whatever the locale.
    return QStringLiteral("%1.%2").arg(position / 10).arg(position % 10);
}

QString resolutionSwitch(const QString &entry)
{
    // The game takes the first number of the entry after -vid_config_y and the second after
    // -vid_config_x; that is how the switch has always been written.
    if (!resolutions().contains(entry))
        return QString();
    const qsizetype x = entry.indexOf(QLatin1Char('x'));
    return QStringLiteral(" -vid_config_y %1 -vid_config_x %2")
        .arg(entry.left(x), entry.mid(x + 1));
}

Part videoPart(const VideoSettings &video)
{
    Part part;
    QString &line = part.commandLine;
    line += flag(" +r_shadows", video.playerShadows);
    line += flag(" +r_decals", video.decals);
    line += flag(" +r_fullbright", video.maxBrightness);
    line += flag(" +r_speeds", video.rSpeeds);
    line += flag(" +r_mirroralpha", video.reflectiveTextures);
    if (video.console)
        line += QLatin1String(" -console");
    if (video.software)
        line += QLatin1String(" -soft");
    if (video.direct3D)
        line += QLatin1String(" -d3d");
    if (video.openGL)
        line += QLatin1String(" -gl");
    if (video.windowed)
        line += QLatin1String(" -win");
    if (video.fullScreen)
        line += QLatin1String(" -full");
    line += resolutionSwitch(video.resolution);
    if (video.additional)
        line += QLatin1Char(' ') + video.additionalText;
    if (video.noIntro)
        line += QLatin1String(" -nointro");
    if (video.developer)
        line += QLatin1String(" -dev");
    if (video.resolution.isEmpty())
        part.messages.append(QStringLiteral("Choose a resolution!"));
    return part;
}

Part clientPart(const ClientSettings &client)
{
    Part part;
    QString &line = part.commandLine;
    if (client.model.isEmpty())
        part.messages.append(QStringLiteral("Please choose a model!"));
    else // the game looks a model up by its folder, in lower case (models/player/gordon)
        line += QLatin1String(" +model ") + client.model.toLower();
    line += flag(" +cl_allowdownload", client.allowDownload);
    line += flag(" +cl_allowupload", client.allowUpload);
    line += flag(" +cl_himodels", client.highQualityModels);
    line += flag(" +c_deltas", !client.deltaCompressionOff);
    line += flag(" +spectator", client.spectator);
    // The engine looks "-noipx" and "-noip" up by presence only: any value turns the network off.
    if (!client.ipx)
        line += QLatin1String(" -noipx 1");
    if (!client.tcpIp)
        line += QLatin1String(" -noip 1");
    line += flag(" -precache", client.preload);
    line += QLatin1String(" +name ") + client.name;
    line += QLatin1String(" +fps_modem ") + client.maxFrameRate;
    line += QLatin1String(" -connect ") + client.address;
    return part;
}

Part audioPart(const AudioSettings &audio)
{
    Part part;
    QString &line = part.commandLine;
    if (!audio.cdAudio)
        line += QLatin1String(" +bgmvolume 0");
    line += flag(" +hisound", audio.highQualitySound);
    line += flag(" +s_eax", audio.eax);
    line += flag(" +s_a3d", audio.a3d);
    line += flag(" +nosound", audio.noSound);
    if (audio.gameVolume.isEmpty())
        part.messages.append(QStringLiteral("Choisissez le volume du son !"));
    if (audio.suitVolume.isEmpty())
        part.messages.append(QStringLiteral("Choose HEV suit volume!"));
    line += QLatin1String(" +volume ") + volumeValue(audio.gameVolume);
    line += QLatin1String(" +suitvolume ") + volumeValue(audio.suitVolume);
    switch (audio.cdMode) {
    case CdTrackMode::PlayOnce: line += QLatin1String(" +cd play ") + audio.track; break;
    case CdTrackMode::Loop: line += QLatin1String(" +cd loop ") + audio.track; break;
    case CdTrackMode::None: break;
    }
    return part;
}

Part miscPart(const MiscSettings &misc)
{
    Part part;
    QString &line = part.commandLine;
    line += flag(" -deathmatch", misc.deathmatch);
    line += flag(" -coop", misc.coop);
    line += flag(" +violence_hblood", misc.humanBlood);
    line += flag(" +violence_hgibs", misc.humanGibs);
    line += flag(" +violence_ablood", misc.alienBlood);
    line += flag(" +violence_agibs", misc.alienGibs);
    line += QLatin1String(" -skill ") + misc.skill;
    line += QLatin1String(" +fakelag ") + misc.fakeLag;
    line += QLatin1String(" +fakeloss ") + misc.fakeLoss;
    return part;
}

QString extendFullCommand(const QString &current, const QString &video, const QString &audio,
                          const QString &misc, const QString &client)
{
    return current + video + audio + misc + client;
}

} // namespace Advanced
