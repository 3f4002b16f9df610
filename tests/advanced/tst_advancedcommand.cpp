#include "advanced/advancedcommand.h"

#include <QLocale>
#include <QTest>

using namespace Advanced;

Q_DECLARE_METATYPE(Advanced::VideoSettings)
Q_DECLARE_METATYPE(Advanced::ClientSettings)
Q_DECLARE_METATYPE(Advanced::AudioSettings)
Q_DECLARE_METATYPE(Advanced::MiscSettings)

namespace {

const QString kFiveVideoFlags = QStringLiteral(
    " +r_shadows 0 +r_decals 0 +r_fullbright 0 +r_speeds 0 +r_mirroralpha 0");

// The state right after the window loads: "Software" is the only choice.
VideoSettings loadedVideo()
{
    VideoSettings video;
    video.software = true;
    return video;
}

} // namespace

class TestAdvancedCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void video_data()
    {
        QTest::addColumn<VideoSettings>("video");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList noResolution{QStringLiteral("Choose a resolution!")};

        QTest::newRow("as loaded") << loadedVideo() << kFiveVideoFlags + QStringLiteral(" -soft") << noResolution;

        VideoSettings v;
        v.windowed = v.openGL = v.console = v.noIntro = v.developer = true;
        v.resolution = QStringLiteral("1024x768");
        QTest::newRow("order of the switches")
            << v
            << kFiveVideoFlags
                   + QStringLiteral(" -console -gl -win -vid_config_y 1024 -vid_config_x 768 -nointro -dev")
            << none;

        v = loadedVideo();
        v.playerShadows = v.decals = v.maxBrightness = v.rSpeeds = v.reflectiveTextures = true;
        v.software = false;
        v.direct3D = v.fullScreen = true;
        v.resolution = QStringLiteral("320x200");
        QTest::newRow("all flags on, Direct3D full screen")
            << v
            << QStringLiteral(" +r_shadows 1 +r_decals 1 +r_fullbright 1 +r_speeds 1"
                              " +r_mirroralpha 1 -d3d -full -vid_config_y 320 -vid_config_x 200")
            << none;

        v = loadedVideo();
        v.additional = true;
        v.noIntro = true;
        QTest::newRow("empty additional text before -nointro")
            << v << kFiveVideoFlags + QStringLiteral(" -soft  -nointro") << noResolution;

        v.noIntro = false;
        QTest::newRow("empty additional text at the end")
            << v << kFiveVideoFlags + QStringLiteral(" -soft ") << noResolution;

        v.additionalText = QStringLiteral("+sv_cheats 1 <b>");
        v.resolution = QStringLiteral("800x600");
        QTest::newRow("additional text as typed")
            << v << kFiveVideoFlags + QStringLiteral(" -soft -vid_config_y 800 -vid_config_x 600 +sv_cheats 1 <b>")
            << none;

        v = loadedVideo();
        v.additionalText = QStringLiteral("ignored");
        v.resolution = QStringLiteral("640X480");
        QTest::newRow("hidden additional text and an unknown resolution")
            << v << kFiveVideoFlags + QStringLiteral(" -soft") << none;
    }
    void video()
    {
        QFETCH(VideoSettings, video);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        const Part part = videoPart(video);
        QCOMPARE(part.commandLine, expected);
        QCOMPARE(part.messages, messages);
    }

    void resolutionRows_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        const QStringList entries = resolutions();
        QCOMPARE(entries.size(), 6);
        const char *expected[] = {" -vid_config_y 320 -vid_config_x 200",
                                  " -vid_config_y 400 -vid_config_x 300",
                                  " -vid_config_y 512 -vid_config_x 384",
                                  " -vid_config_y 640 -vid_config_x 480",
                                  " -vid_config_y 800 -vid_config_x 600",
                                  " -vid_config_y 1024 -vid_config_x 768"};
        for (int i = 0; i < 6; ++i)
            QTest::newRow(qPrintable(entries.at(i))) << entries.at(i) << QString::fromLatin1(expected[i]);
    }
    void resolutionRows()
    {
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        QCOMPARE(resolutionSwitch(entry), expected);
    }

    void client_data()
    {
        QTest::addColumn<ClientSettings>("client");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");

        ClientSettings c;
        c.model = QStringLiteral("Gordon");
        QTest::newRow("only Gordon")
            << c
            << QStringLiteral(" +model gordon +cl_allowdownload 0 +cl_allowupload 0 +cl_himodels 0"
                              " +c_deltas 1 +spectator 0 -noipx 1 -noip 1 -precache 0 +name "
                              " +fps_modem  -connect ")
            << QStringList();

        // The engine reads "-noipx" and "-noip" by presence: checked boxes leave them out.
        c = ClientSettings{};
        c.deltaCompressionOff = c.ipx = c.tcpIp = true;
        c.allowDownload = c.allowUpload = c.highQualityModels = c.spectator = c.preload = true;
        c.name = QStringLiteral("Grünt <1>");
        c.maxFrameRate = QStringLiteral("abc");
        c.address = QStringLiteral("10.0.0.1:27015");
        QTest::newRow("no model, everything else on")
            << c
            << QStringLiteral(" +cl_allowdownload 1 +cl_allowupload 1 +cl_himodels 1 +c_deltas 0"
                              " +spectator 1 -precache 1 +name Grünt <1>"
                              " +fps_modem abc -connect 10.0.0.1:27015")
            << QStringList{QStringLiteral("Please choose a model!")};
    }
    void client()
    {
        QFETCH(ClientSettings, client);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        const Part part = clientPart(client);
        QCOMPARE(part.commandLine, expected);
        QCOMPARE(part.messages, messages);
    }

    void audio_data()
    {
        QTest::addColumn<AudioSettings>("audio");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("as loaded")
            << AudioSettings{}
            << QStringLiteral(" +bgmvolume 0 +hisound 0 +s_eax 0 +s_a3d 0 +nosound 0 +volume "
                              " +suitvolume ")
            << QStringList{QStringLiteral("Choisissez le volume du son !"),
                           QStringLiteral("Choose HEV suit volume!")};

        AudioSettings a;
        a.cdAudio = true;
        a.gameVolume = QStringLiteral("7");
        a.suitVolume = QStringLiteral("3");
        a.cdMode = CdTrackMode::Loop;
        a.track = QStringLiteral("5");
        QTest::newRow("CD loop track 5")
            << a
            << QStringLiteral(" +hisound 0 +s_eax 0 +s_a3d 0 +nosound 0 +volume 0.7"
                              " +suitvolume 0.3 +cd loop 5")
            << QStringList();

        a = AudioSettings{};
        a.highQualitySound = a.eax = a.a3d = a.noSound = true;
        a.gameVolume = QStringLiteral("0");
        a.cdMode = CdTrackMode::PlayOnce;
        QTest::newRow("play once without a track, suit volume missing")
            << a
            << QStringLiteral(" +bgmvolume 0 +hisound 1 +s_eax 1 +s_a3d 1 +nosound 1 +volume 0.0"
                              " +suitvolume  +cd play ")
            << QStringList{QStringLiteral("Choose HEV suit volume!")};

        a = AudioSettings{};
        a.gameVolume = QStringLiteral("10");
        a.suitVolume = QStringLiteral("10");
        a.track = QStringLiteral("18");
        QTest::newRow("no CD option: track ignored")
            << a
            << QStringLiteral(" +bgmvolume 0 +hisound 0 +s_eax 0 +s_a3d 0 +nosound 0 +volume 1.0"
                              " +suitvolume 1.0")
            << QStringList();
    }
    void audio()
    {
        QFETCH(AudioSettings, audio);
        QFETCH(QString, expected);
        QFETCH(QStringList, messages);
        const Part part = audioPart(audio);
        QCOMPARE(part.commandLine, expected);
        QCOMPARE(part.messages, messages);
        // A dot whatever the player's locale: French would write "0,7".
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString french = audioPart(audio).commandLine;
        QLocale::setDefault(QLocale::c());
        QCOMPARE(french, expected);
    }

    void misc_data()
    {
        QTest::addColumn<MiscSettings>("misc");
        QTest::addColumn<QString>("expected");

        MiscSettings m;
        m.fakeLag = m.fakeLoss = QStringLiteral("0");
        QTest::newRow("as loaded")
            << m
            << QStringLiteral(" -deathmatch 0 -coop 0 +violence_hblood 0 +violence_hgibs 0"
                              " +violence_ablood 0 +violence_agibs 0 -skill  +fakelag 0"
                              " +fakeloss 0");

        m.deathmatch = m.coop = m.humanBlood = m.humanGibs = m.alienBlood = m.alienGibs = true;
        m.skill = QStringLiteral("2");
        m.fakeLag = QStringLiteral("4");
        m.fakeLoss = QStringLiteral("1");
        QTest::newRow("everything chosen")
            << m
            << QStringLiteral(" -deathmatch 1 -coop 1 +violence_hblood 1 +violence_hgibs 1"
                              " +violence_ablood 1 +violence_agibs 1 -skill 2 +fakelag 4"
                              " +fakeloss 1");
    }
    void misc()
    {
        QFETCH(MiscSettings, misc);
        QFETCH(QString, expected);
        const Part part = miscPart(misc);
        QCOMPARE(part.commandLine, expected);
        QVERIFY(part.messages.isEmpty());
    }

    void fullCommand()
    {
        const QString path = QStringLiteral("C:\\Jeux\\Half Life\\hl.exe");
        QCOMPARE(extendFullCommand(path, {}, {}, {}, {}), path);
        const QString once = extendFullCommand(path, QStringLiteral(" v"), QStringLiteral(" a"),
                                               QStringLiteral(" m"), QStringLiteral(" c"));
        QCOMPARE(once, path + QStringLiteral(" v a m c"));
        QCOMPARE(extendFullCommand(once, QStringLiteral(" v"), QStringLiteral(" a"),
                                   QStringLiteral(" m"), QStringLiteral(" c")),
                 path + QStringLiteral(" v a m c v a m c"));
    }
};

QTEST_GUILESS_MAIN(TestAdvancedCommand)
#include "tst_advancedcommand.moc"
