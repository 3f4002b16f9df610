#include "launcher/systemcolors.h"
#include "launcher/windownames.h"
#include "platform/systemprocessstarter.h"
#include "server/registration.h"
#include "standin.h"
#include "testplatform.h"
#include "testprogram.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionButton>

#include <optional>
#include <utility>

namespace {

const QByteArray kInitialFile = "mp_fraglimit 0\r\nmp_timelimit 0\r\nmaxplayers 32\r\n"
                                "sv_gravity 800\r\nsv_maxspectators 0\r\n"
                                "hostname \"My party - CRVN\"\r\n";

// Each rule box and the lines it adds, alone, before the initial ones.
const std::pair<const char *, const char *> kBoxes[] = {
    {"dl", "cl_allowdownload 1\r\n"}, {"ul", "cl_allowupload 1\r\n"},
    {"falldamage", "mp_falldamage 0\r\nfalldamage 1\r\n"},
    {"mp_autocrosshair", "mp_autocrosshair 0\r\n"}, {"mp_flashlight", "mp_flashlight 1\r\n"},
    {"sv_cheats", "sv_cheats 1\r\n"}, {"mp_forcerespawn", "mp_forcerespawn 1\r\n"},
    {"mp_footsteps", "mp_footsteps 1\r\n"}, {"mp_weaponstay", "mp_weaponstay 1\r\n"},
    {"mp_friendlyfire", "mp_friendlyfire 1\r\n"}, {"chase_active", "chase_active 1\r\n"},
    {"cl_download_ingame", "cl_download_ingame 0\r\n"}};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// The settings a finished first-use wizard leaves, with the valve folder as given.
QByteArray iniFor(const QString &dir, const QString &valve, const QString &program)
{
    QByteArray ini = "[GAMEDIR]\r\nprogram=" + program.toLocal8Bit() + "\r\nmaps="
                     + (dir + QStringLiteral("/valve/maps")).toLocal8Bit() + "\r\n";
    if (!valve.isNull())
        ini += "valve=" + valve.toLocal8Bit() + "\r\n";
    ini += "[MISC]\r\ntfc=true\r\nfirstuse=no\r\n";
    return ini;
}

void click(QWidget *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks on the box itself, wherever the layout stretched its label.
void clickBox(QCheckBox *box)
{
    QVERIFY(box);
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option,
                                                         box);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator.center());
}

// Replaces a field's text as a player would: select all, erase, type.
void retype(QLineEdit *field, const QString &text)
{
    QVERIFY(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(field, char(c.unicode()));
        else // an accented key: the key code is unknown to the test, its text is not
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
    }
    QCOMPARE(field->text(), text);
}

void selectMap(QListWidget *list, const QString &name)
{
    QVERIFY(list);
    const QList<QListWidgetItem *> items = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
    QVERIFY(items.first()->isSelected());
}

QString captionOf(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *frame = qobject_cast<QGroupBox *>(widget))
        return frame->title();
    return QStringLiteral("<no caption>");
}

} // namespace

// The server maker as a player sees it: opened on a program whose settings a finished wizard
// wrote, with a maps folder holding two maps.
class TestServerMakerWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void opensWithMapsListedAndBoxesCleared();
    void passwordSwitch();
    void helpMessage();
    void mapSelection();
    void missingMapsFolderStillOpens();

    void saveInitialValues();
    void eachControlReachesItsLine_data();
    void eachControlReachesItsLine();
    void secondSaveReplacesFirst();
    void checks_data();
    void checks();
    void doubleQuoteRefused_data();
    void doubleQuoteRefused();
    void valveMissing_data();
    void valveMissing();
    void unwritable_data();
    void unwritable();
    void fileGoesIntoTheValveFolder_data();
    void fileGoesIntoTheValveFolder();
    void timeLimitIsWritten_data();
    void timeLimitIsWritten();
    void unsafeMapNamesAreRefused_data();
    void unsafeMapNamesAreRefused();
    void enterInAFieldLaunches_data();
    void enterInAFieldLaunches();

    void launchSavesThenStartsEachTime();
    void launchWithoutMap();
    void backToMainWindow();
    void endToEndWithStandIn();

private:
    void open(const QString &valve);
    QString cfg() const { return m_valve + QStringLiteral("crvn.cfg"); }
    template <typename T>
    T *control(const char *name)
    {
        return child<T>(m_window, name);
    }
    void press(const QString &button)
    {
        click(control<QPushButton>(button.toLatin1().constData()));
    }
    void clickSave() { press(QStringLiteral("save")); }

    std::unique_ptr<TestProgram> m_program;
    QWidget *m_window = nullptr;
    QString m_valve;
    QString m_executable;
};

void TestServerMakerWindow::init()
{
    m_program = std::make_unique<TestProgram>();
    registerServerWindows(m_program->context());
    const QString dir = m_program->directory();
    QVERIFY(makeFiles(dir + QStringLiteral("/valve/maps"),
                      {QStringLiteral("crossfire.bsp"), QStringLiteral("arena1.bsp"),
                       QStringLiteral("readme.txt")}));
    m_executable = dir + QStringLiteral("/hl.exe");
    open(dir + QStringLiteral("/valve/"));
}

void TestServerMakerWindow::open(const QString &valve)
{
    m_valve = valve;
    m_program->windows().unload(WindowName::server);
    m_program->writeIni(iniFor(m_program->directory(), valve, m_executable));
    m_window = m_program->show(WindowName::server);
    QVERIFY(m_window);
    QVERIFY(m_window->isVisible());
}

void TestServerMakerWindow::cleanup()
{
    m_window = nullptr;
    m_program.reset();
}

void TestServerMakerWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    const auto row = [](const char *name, const QString &caption,
                        const QString &toolTip = QString()) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << toolTip;
    };
    row("Frame1", QStringLiteral("Sélection de la première carte"));
    row("cmdMapSel", QStringLiteral("Choisir "));
    row("SelMap", QString());
    row("Label2", QStringLiteral("Choisissez ici la première carte que vous voulez lancer. "
                                 "Ensuite enregistrez et tapez \"exec crvn.cfg\" dans la "
                                 "console."));
    row("cmdHelp", QStringLiteral("Aide"));
    row("param", QStringLiteral("Autres paramètres"));
    row("password", QStringLiteral("Mot de passe"));
    row("passwordvalue", QString());
    row("maxping", QStringLiteral("Ping max : "));
    row("maxpingvalue", QStringLiteral("500"),
        QStringLiteral("Not written to crvn.cfg: the game has no console variable for a maximum "
                       "ping"));
    row("fraglimit", QStringLiteral("Limite de frag"));
    row("fraglimitvalue", QStringLiteral("0"),
        QStringLiteral("Set the frag limit. Type \"0\" for no frag limit"));
    row("timelimit", QStringLiteral("Limite de temps :"));
    row("timelimitvalue", QStringLiteral("0"),
        QStringLiteral("Set the time limit. Type \"0\" for no time limit"));
    row("sv_gravity", QStringLiteral("Gravité :"));
    row("sv_gravityvalue", QStringLiteral("800"), QStringLiteral("Set the gravity (default : 800)"));
    row("sv_maxspectators", QStringLiteral("Spéctateurs max : "));
    row("maxspectatorsvalue", QStringLiteral("0"), QStringLiteral("Set maximum number of spectators"));
    row("sv_cheats", QStringLiteral("Autoriser codes triche"),
        QStringLiteral("Autorise les codes de triche pendant les Deathmatches"));
    row("mp_weaponstay", QStringLiteral("Laisser les armes après la mort"));
    row("mp_forcerespawn", QStringLiteral("Régénération des forces"));
    row("mp_footsteps", QStringLiteral("Bruits de pas"));
    row("mp_flashlight", QStringLiteral("Autoriser \"flashlight\""),
        QStringLiteral("La \"flashlight\" (lampe de poche) est autorisée"));
    row("mp_autocrosshair", QStringLiteral("Désactiver visée automatique"));
    row("falldamage", QStringLiteral("Désactiver dommages de chute"),
        QStringLiteral("Wether or not players take damage they falling"));
    row("dl", QStringLiteral("Autoriser télechargement"),
        QStringLiteral("Les utilisateurs peuvent télecharger les cartes, skins, models, sons, "
                       "etc ..."));
    row("ul", QStringLiteral("Autoriser l'uploading"),
        QStringLiteral("Les utilisateurs peuvent uploader les cartes, skins, models, sons, "
                       "etc ..."));
    row("partyname", QStringLiteral("My party - CRVN"));
    row("maxplayersvalue", QStringLiteral("32"));
    row("opt", QStringLiteral("Options"));
    row("cl_download_ingame", QStringLiteral("Désactiver télechargement pendant le jeu"));
    row("chase_active", QStringLiteral("Vue arrière"), QStringLiteral("Enable chase view"));
    row("mp_friendlyfire", QStringLiteral(" \"Friendly fire\""));
    row("Label1", QStringLiteral("Party name : "));
    row("maxplayers", QStringLiteral("Max. players : "));
    row("save", QStringLiteral("Enregistrer"), QStringLiteral("Save to \"crvn.cfg\""));
    row("Command1", QStringLiteral("Enregistrer et lancer"),
        QStringLiteral("Save to \"crvn.cfg\" and launch Half-Life"));
}

void TestServerMakerWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QWidget *widget = control<QWidget>(name.toLatin1().constData());
    QVERIFY(widget);
    QCOMPARE(captionOf(widget), caption);
    QCOMPARE(widget->toolTip(), toolTip);
}

void TestServerMakerWindow::opensWithMapsListedAndBoxesCleared()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Half-Life Deathmatch Maker"));
    for (const auto &box : kBoxes)
        QCOMPARE(control<QCheckBox>(box.first)->checkState(), Qt::Unchecked);
    QCOMPARE(control<QCheckBox>("password")->checkState(), Qt::Unchecked);
    QCOMPARE(control<QAction>("mnuFileitmCRVN")->text(), QStringLiteral("&Corvane"));
    QCOMPARE(control<QMenu>("mnuFile")->title(), QStringLiteral("&Fichier"));

    // Only the .bsp files, sorted, none selected.
    auto *maps = control<QListWidget>("maps");
    QStringList names;
    for (int i = 0; i < maps->count(); ++i)
        names.append(maps->item(i)->text());
    QCOMPARE(names, (QStringList{QStringLiteral("arena1.bsp"), QStringLiteral("crossfire.bsp")}));
    QVERIFY(maps->selectedItems().isEmpty());
}

void TestServerMakerWindow::passwordSwitch()
{
    auto *password = control<QCheckBox>("password");
    auto *value = control<QLineEdit>("passwordvalue");
    QVERIFY(!value->isEnabled());
    QCOMPARE(background(value), SystemColor::scrollBar());

    clickBox(password);
    QVERIFY(value->isEnabled());
    QCOMPARE(background(value), SystemColor::window());
    retype(value, QStringLiteral("secret"));

    clickBox(password);
    QVERIFY(!value->isEnabled());
    QCOMPARE(background(value), SystemColor::scrollBar());
    QCOMPARE(value->text(), QStringLiteral("secret"));
    // A password typed then unchecked is not written.
    clickSave();
    QCOMPARE(readBytes(cfg()), kInitialFile);

    // Set from code, the box still switches the field.
    password->setChecked(true);
    QVERIFY(value->isEnabled());
}

void TestServerMakerWindow::helpMessage()
{
    click(control<QPushButton>("cmdHelp"));
    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &help = m_program->messages.shown.first();
    QCOMPARE(help.text,
             QStringLiteral("Le Half-Life Deathmatch Maker vous permet de configurer votre "
                            "serveur. Quand vous cliquez sur Enregistrer, le fichier crvn.cfg "
                            "est créé dans votre dossier Half-Life\\valve. Pour l'utiliser, "
                            "lancez un serveur puis tapez exec crvn.cfg dans la console."));
    QCOMPARE(help.title, QStringLiteral("Aide"));
    QCOMPARE(help.icon, MessageIcon::Information);
    QCOMPARE(help.buttons, MessageButtons::Ok);
}

void TestServerMakerWindow::mapSelection()
{
    auto *selMap = control<QLineEdit>("SelMap");
    auto *frame = control<QGroupBox>("Frame1");
    // Without a selection, choosing keeps what was typed.
    retype(selMap, QStringLiteral("typed"));
    click(control<QPushButton>("cmdMapSel"));
    QCOMPARE(selMap->text(), QStringLiteral("typed"));
    QCOMPARE(frame->title(), QStringLiteral("Sélection de la première carte"));

    auto *maps = control<QListWidget>("maps");
    selectMap(maps, QStringLiteral("crossfire.bsp"));
    // Selecting alone changes nothing.
    QCOMPARE(selMap->text(), QStringLiteral("typed"));
    click(control<QPushButton>("cmdMapSel"));
    QCOMPARE(selMap->text(), QStringLiteral("crossfire"));
    QCOMPARE(frame->title(), QStringLiteral("First map selection (crossfire.bsp)"));

    selectMap(maps, QStringLiteral("arena1.bsp"));
    click(control<QPushButton>("cmdMapSel"));
    QCOMPARE(selMap->text(), QStringLiteral("arena1"));
    QCOMPARE(frame->title(), QStringLiteral("First map selection (arena1.bsp)"));
    QVERIFY(m_program->messages.shown.isEmpty());
}

void TestServerMakerWindow::missingMapsFolderStillOpens()
{
    QVERIFY(QDir(m_program->directory() + QStringLiteral("/valve/maps")).removeRecursively());
    open(m_valve);
    QCOMPARE(control<QListWidget>("maps")->count(), 0);
    click(control<QPushButton>("cmdMapSel"));
    QCOMPARE(control<QLineEdit>("SelMap")->text(), QString());
    QVERIFY(m_program->messages.shown.isEmpty());
}

void TestServerMakerWindow::saveInitialValues()
{
    clickSave();
    QCOMPARE(readBytes(cfg()), kInitialFile);
    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &note = m_program->messages.shown.first();
    QCOMPARE(note.text,
             QStringLiteral("You're crvn.cfg file has been saved in ") + QDir::toNativeSeparators(cfg()));
    QCOMPARE(note.title, QStringLiteral("Please note"));
    QCOMPARE(note.icon, MessageIcon::Information);
    QVERIFY(m_program->processes.calls.isEmpty());
    // The window stays open with its fields.
    QVERIFY(m_program->window(WindowName::server));
    QCOMPARE(control<QLineEdit>("partyname")->text(), QStringLiteral("My party - CRVN"));
}

// One control changed at a time shows that each one reaches its own line, and only it.
void TestServerMakerWindow::eachControlReachesItsLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed"); // null: a box to check
    QTest::addColumn<QByteArray>("file");
    for (const auto &[name, lines] : kBoxes)
        QTest::newRow(name) << QString::fromLatin1(name) << QString()
                            << QByteArray(lines) + kInitialFile;
    const auto field = [](const char *row, const char *name, const QString &typed,
                          const QByteArray &from, const QByteArray &to) {
        QTest::newRow(row) << QString::fromLatin1(name) << typed
                           << QByteArray(kInitialFile).replace(from, to);
    };
    field("frag limit", "fraglimitvalue", QStringLiteral("15"), "mp_fraglimit 0",
          "mp_fraglimit 15");
    field("empty frag limit", "fraglimitvalue", QString(""), "mp_fraglimit 0", "mp_fraglimit ");
    field("max players", "maxplayersvalue", QStringLiteral("8"), "maxplayers 32", "maxplayers 8");
    field("gravity", "sv_gravityvalue", QStringLiteral("600"), "sv_gravity 800",
          "sv_gravity 600");
    field("spectators", "maxspectatorsvalue", QStringLiteral("4"), "sv_maxspectators 0",
          "sv_maxspectators 4");
    const QString party = QStringLiteral("Soirée à Gérardmer");
    field("accented party name", "partyname", party, "\"My party - CRVN\"",
          '"' + party.toLocal8Bit() + '"');
    field("time limit", "timelimitvalue", QStringLiteral("25"), "mp_timelimit 0",
          "mp_timelimit 25");
    // Checked or used to launch, never written.
    for (const char *name : {"maxpingvalue", "SelMap"})
        QTest::newRow(name) << QString::fromLatin1(name) << QStringLiteral("25") << kInitialFile;
    QTest::newRow("password") << QStringLiteral("passwordvalue") << QStringLiteral("a;quit")
                              << kInitialFile + "sv_password \"a;quit\"\r\n";
    // Unquoted, the console reads the rest of a line after "//" as a comment.
    const QByteArray initialName = "\"My party - CRVN\"";
    field("party name with //", "partyname", QStringLiteral("a//b"), initialName, "\"a//b\"");
    field("one slash stays bare", "partyname", QStringLiteral("a/b"), initialName, "a/b");
    field("gravity with //", "sv_gravityvalue", QStringLiteral("800//"), "sv_gravity 800", "sv_gravity \"800//\"");
    QTest::newRow("password with //") << QStringLiteral("passwordvalue") << QStringLiteral("x//y")
                                      << kInitialFile + "sv_password \"x//y\"\r\n";
}

void TestServerMakerWindow::eachControlReachesItsLine()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QByteArray, file);
    if (name == u"passwordvalue")
        clickBox(control<QCheckBox>("password"));
    if (typed.isNull())
        clickBox(control<QCheckBox>(name.toLatin1().constData()));
    else
        retype(control<QLineEdit>(name.toLatin1().constData()), typed);
    clickSave();
    QCOMPARE(readBytes(cfg()), file);
}

void TestServerMakerWindow::secondSaveReplacesFirst()
{
    clickBox(control<QCheckBox>("dl"));
    retype(control<QLineEdit>("partyname"), QStringLiteral("Premiere partie longue"));
    clickSave();
    clickBox(control<QCheckBox>("dl"));
    retype(control<QLineEdit>("partyname"), QStringLiteral("LAN"));
    clickSave();
    QCOMPARE(readBytes(cfg()),
             QByteArray("mp_fraglimit 0\r\nmp_timelimit 0\r\nmaxplayers 32\r\nsv_gravity 800\r\n"
                        "sv_maxspectators 0\r\nhostname LAN\r\n"));
    QCOMPARE(m_program->messages.shown.size(), 2);
    QCOMPARE(m_program->messages.shown.last().title, QStringLiteral("Please note"));
    QCOMPARE(QDir(m_valve).entryList(QDir::Files), QStringList{QStringLiteral("crvn.cfg")});
}

void TestServerMakerWindow::checks_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("party");
    QTest::addColumn<bool>("password");
    QTest::addColumn<QString>("ping");
    QTest::addColumn<QString>("players");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("warning"); // else the information icon

    // Each check once, from either button; the order of the checks is the rules' concern.
    const QString blank = QStringLiteral(" ");
    const QString save = QStringLiteral("save");
    const QString launch = QStringLiteral("Command1");
    QTest::newRow("save: empty party name")
        << save << QString() << true << blank << blank
        << QStringLiteral("You must specify your party name") << QStringLiteral("Corvane 2.0")
        << false;
    QTest::newRow("launch: password checked and empty")
        << launch << blank << true << blank << blank
        << QStringLiteral("Please type your password or uncheck the password case")
        << QStringLiteral("Error !") << false;
    QTest::newRow("save: party name of one blank")
        << save << blank << false << blank << blank << QStringLiteral("You MUST type a party name")
        << QStringLiteral("Party name") << false;
    QTest::newRow("launch: ping of one blank")
        << launch << QStringLiteral("LAN") << false << blank << blank
        << QStringLiteral("Please specify the maximum ping allowed") << QStringLiteral("Max ping")
        << false;
    QTest::newRow("save: players of one blank")
        << save << QStringLiteral("LAN") << false << QString() << blank
        << QStringLiteral("Please define the maximum player allowed")
        << QStringLiteral("Max players") << false;
    const QString notACount = QStringLiteral("Max. players doit être un nombre entier de 1 à 32.");
    QTest::newRow("save: players not a number")
        << save << QStringLiteral("LAN") << false << QString() << QStringLiteral("tous")
        << notACount << QStringLiteral("Max players") << true;
    QTest::newRow("launch: 33 players")
        << launch << QStringLiteral("LAN") << false << QString() << QStringLiteral("33")
        << notACount << QStringLiteral("Max players") << true;
}

void TestServerMakerWindow::checks()
{
    QFETCH(QString, button);
    QFETCH(QString, party);
    QFETCH(bool, password);
    QFETCH(QString, ping);
    QFETCH(QString, players);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(bool, warning);

    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    retype(control<QLineEdit>("partyname"), party);
    if (password)
        clickBox(control<QCheckBox>("password"));
    retype(control<QLineEdit>("maxpingvalue"), ping);
    retype(control<QLineEdit>("maxplayersvalue"), players);
    press(button);

    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &refusal = m_program->messages.shown.first();
    QCOMPARE(refusal.text, text);
    QCOMPARE(refusal.shownTitle(), title);
    QCOMPARE(refusal.icon, warning ? MessageIcon::Warning : MessageIcon::Information);
    QVERIFY(!QFile::exists(cfg()));
    QVERIFY(m_program->processes.calls.isEmpty());
    // The check changes no field.
    QCOMPARE(control<QLineEdit>("partyname")->text(), party);
}

void TestServerMakerWindow::doubleQuoteRefused_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("label");
    QTest::newRow("save: party name") << QStringLiteral("save") << QStringLiteral("partyname")
                                      << QStringLiteral("Party name");
    QTest::newRow("launch: gravity") << QStringLiteral("Command1")
                                     << QStringLiteral("sv_gravityvalue")
                                     << QStringLiteral("Gravité");
}

void TestServerMakerWindow::doubleQuoteRefused()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, label);
    writeBytes(cfg(), "previous\r\n");
    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    retype(control<QLineEdit>(field.toLatin1().constData()), QStringLiteral("say \"hi\""));
    press(button);

    QCOMPARE(m_program->messages.shown.size(), 1);
    QVERIFY2(m_program->messages.shown.first().text.contains(QStringLiteral("« %1 »").arg(label)),
             qPrintable(m_program->messages.shown.first().text));
    QVERIFY(m_program->messages.shown.first().text.contains(QLatin1Char('"')));
    QCOMPARE(readBytes(cfg()), QByteArray("previous\r\n"));
    QVERIFY(m_program->processes.calls.isEmpty());
}

void TestServerMakerWindow::valveMissing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("valve");
    QTest::newRow("save, no valve key") << QStringLiteral("save") << QString();
    QTest::newRow("launch, no valve key") << QStringLiteral("Command1") << QString();
    QTest::newRow("save, empty valve") << QStringLiteral("save") << QStringLiteral("");
}

void TestServerMakerWindow::valveMissing()
{
    QFETCH(QString, button);
    QFETCH(QString, valve);
    const QString workDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_program->directory()));
    open(valve);
    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    press(button);
    QDir::setCurrent(workDir);

    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &message = m_program->messages.shown.first();
    QVERIFY(message.text.contains(QStringLiteral("dossier valve")));
    QVERIFY(message.text.contains(QStringLiteral("assistant")));
    QCOMPARE(message.icon, MessageIcon::Warning);
    QVERIFY(!message.text.startsWith(QStringLiteral("You're")));
    // Nothing landed in the working directory.
    QCOMPARE(QDir(m_program->directory()).entryList({QStringLiteral("*crvn.cfg")}, QDir::Files),
             QStringList());
    QVERIFY(m_program->processes.calls.isEmpty());
}

void TestServerMakerWindow::unwritable_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("kind");
    for (const char *button : {"save", "Command1"}) {
        for (const char *kind : {"read-only folder", "a folder named crvn.cfg"})
            QTest::addRow("%s: %s", button, kind)
                << QString::fromLatin1(button) << QString::fromLatin1(kind);
    }
}

void TestServerMakerWindow::unwritable()
{
    QFETCH(QString, button);
    QFETCH(QString, kind);
    const QString dir = m_program->directory();
    QString valve;
    std::optional<ReadOnlyFolder> readOnly;
    if (kind == u"read-only folder") {
        if (const QString why = readOnlyFilesUnavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        valve = dir + QStringLiteral("/locked/");
        QVERIFY(QDir().mkpath(valve));
        writeBytes(valve + QStringLiteral("crvn.cfg"), "old\r\n");
        readOnly.emplace(valve, QStringList{QStringLiteral("crvn.cfg")});
    } else {
        valve = dir + QStringLiteral("/valve/");
        QVERIFY(QDir().mkpath(valve + QStringLiteral("crvn.cfg/keep")));
    }
    open(valve);
    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    press(button);

    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &message = m_program->messages.shown.first();
    QVERIFY2(message.text.contains(QDir::toNativeSeparators(cfg())), qPrintable(message.text));
    QCOMPARE(message.title, QStringLiteral("Enregistrement impossible"));
    QCOMPARE(message.icon, MessageIcon::Critical);
    QVERIFY(m_program->processes.calls.isEmpty());
    if (kind == u"read-only folder") {
        QCOMPARE(readBytes(cfg()), QByteArray("old\r\n"));
    } else {
        QVERIFY(QFileInfo(valve + QStringLiteral("crvn.cfg/keep")).isDir());
    }
}

void TestServerMakerWindow::fileGoesIntoTheValveFolder_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("valve");  // relative to the program directory, "/" added
    QTest::addColumn<QString>("saved");  // where crvn.cfg lands; empty: refused
    for (const char *button : {"save", "Command1"}) {
        const QString b = QString::fromLatin1(button);
        QTest::addRow("%s: folder with its separator", button) << b << "valve/" << "valve/crvn.cfg";
        QTest::addRow("%s: folder typed without one", button) << b << "valve" << "valve/crvn.cfg";
        // What the old derivation left for a maps folder named "cartes".
        QTest::addRow("%s: a folder that does not exist", button) << b << "valve/ca" << "";
        QTest::addRow("%s: an old install, moved away", button) << b << "old/valve/" << "";
    }
    QTest::newRow("save: a relative text") << "save" << "e" << "";
}

void TestServerMakerWindow::fileGoesIntoTheValveFolder()
{
    QFETCH(QString, button);
    QFETCH(QString, valve);
    QFETCH(QString, saved);
    const QString dir = m_program->directory() + QLatin1Char('/');
    const QString valvePath = valve == u"e" ? valve : dir + valve;
    const QString workDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_program->directory()));
    open(valvePath);
    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    press(button);
    QDir::setCurrent(workDir);

    if (saved.isEmpty()) {
        QCOMPARE(m_program->messages.shown.size(), 1);
        const Message &refusal = m_program->messages.shown.first();
        QCOMPARE(refusal.title, QStringLiteral("Dossier valve introuvable"));
        QCOMPARE(refusal.icon, MessageIcon::Warning);
        QVERIFY2(refusal.text.contains(QDir::toNativeSeparators(valvePath)), qPrintable(refusal.text));
        QVERIFY(m_program->processes.calls.isEmpty());
        // Nothing anywhere under the program directory, the working folder of this test.
        QDirIterator files(m_program->directory(), {QStringLiteral("*crvn.cfg")}, QDir::Files,
                           QDirIterator::Subdirectories);
        QVERIFY(!files.hasNext());
        return;
    }
    QCOMPARE(readBytes(dir + saved), kInitialFile);
    QCOMPARE(QDir(dir + QStringLiteral("valve")).entryList(QDir::Files), QStringList{QStringLiteral("crvn.cfg")});
    if (button == u"save") {
        QCOMPARE(m_program->messages.shown.size(), 1);
        QCOMPARE(m_program->messages.shown.first().text,
                 QStringLiteral("You're crvn.cfg file has been saved in ")
                     + QDir::toNativeSeparators(dir + saved));
    } else {
        QVERIFY(m_program->messages.shown.isEmpty());
        QCOMPARE(m_program->processes.calls.size(), 1);
    }
}

void TestServerMakerWindow::timeLimitIsWritten_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("save: 20 minutes") << "save" << "20" << QByteArray("mp_timelimit 20\r\n");
    QTest::newRow("launch: 45 minutes") << "Command1" << "45" << QByteArray("mp_timelimit 45\r\n");
    QTest::newRow("save: empty keeps its blank") << "save" << "" << QByteArray("mp_timelimit \r\n");
    QTest::newRow("save: with a blank, quoted") << "save" << "20 min"
                                               << QByteArray("mp_timelimit \"20 min\"\r\n");
}

void TestServerMakerWindow::timeLimitIsWritten()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QByteArray, line);
    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    retype(control<QLineEdit>("fraglimitvalue"), QStringLiteral("30"));
    retype(control<QLineEdit>("timelimitvalue"), typed);
    press(button);
    // Right after the frag limit, the rest unchanged.
    QCOMPARE(readBytes(cfg()), QByteArray(kInitialFile)
                                   .replace("mp_fraglimit 0\r\n", "mp_fraglimit 30\r\n")
                                   .replace("mp_timelimit 0\r\n", line));
}

void TestServerMakerWindow::unsafeMapNamesAreRefused_data()
{
    QTest::addColumn<QString>("file"); // a real map file, chosen in the list; or typed when empty
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refused"); // empty: launched
    QTest::newRow("a blank, then a command") << "x +exec evil.bsp" << "" << "x +exec evil";
    QTest::newRow("starts with -") << "-dev.bsp" << "" << "-dev";
    QTest::newRow("starts with +, typed") << "" << "+quit" << "+quit";
    QTest::newRow("a double quote, typed") << "" << "a\"b" << "a\"b";
    QTest::newRow("a control character, typed") << "" << "dm\x1b" << "dm\x1b";
    QTest::newRow("ordinary name") << "dm-2+b.bsp" << "" << "";
}

void TestServerMakerWindow::unsafeMapNamesAreRefused()
{
    QFETCH(QString, file);
    QFETCH(QString, typed);
    QFETCH(QString, refused);
    if (!file.isEmpty()) {
        QVERIFY(makeFiles(m_program->directory() + QStringLiteral("/valve/maps"), {file}));
        open(m_valve);
        selectMap(control<QListWidget>("maps"), file);
        click(control<QPushButton>("cmdMapSel"));
    } else {
        control<QLineEdit>("SelMap")->setText(typed);
    }
    press(QStringLiteral("Command1"));
    if (refused.isEmpty()) {
        QVERIFY(m_program->messages.shown.isEmpty());
        QCOMPARE(m_program->processes.calls.size(), 1);
        QVERIFY(m_program->processes.calls.first().commandLine.endsWith(QStringLiteral(" +map dm-2+b")));
        return;
    }
    QVERIFY(m_program->processes.calls.isEmpty());
    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &refusal = m_program->messages.shown.first();
    QCOMPARE(refusal.title, QStringLiteral("Nom de carte refusé"));
    QVERIFY2(refusal.text.contains(QStringLiteral("« ") + refused + QStringLiteral(" »")),
             qPrintable(refusal.text));
    QVERIFY(m_program->window(WindowName::server));
}

void TestServerMakerWindow::enterInAFieldLaunches_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("launches"); // else: the focused button's own action
    QTest::newRow("first map") << "SelMap" << true;
    QTest::newRow("party name") << "partyname" << true;
    QTest::newRow("frag limit") << "fraglimitvalue" << true;
    QTest::newRow("time limit") << "timelimitvalue" << true;
    QTest::newRow("a focused button keeps Enter: Enregistrer") << "save" << false;
}

void TestServerMakerWindow::enterInAFieldLaunches()
{
    QFETCH(QString, focus);
    QFETCH(bool, launches);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    retype(control<QLineEdit>("SelMap"), QStringLiteral("arena1"));
    QWidget *target = control<QWidget>(focus.toLatin1().constData());
    target->setFocus();
    QCOMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(readBytes(cfg()), kInitialFile);
    if (launches) {
        QCOMPARE(m_program->processes.calls.size(), 1);
        QCOMPARE(m_program->processes.calls.first().commandLine,
                 m_executable + QStringLiteral(" +deathmatch 1 -console +maxplayers 32 +map arena1"));
        QVERIFY(m_program->messages.shown.isEmpty());
    } else {
        QVERIFY(m_program->processes.calls.isEmpty());
        QCOMPARE(m_program->messages.shown.size(), 1);
        QCOMPARE(m_program->messages.shown.first().title, QStringLiteral("Please note"));
    }
    // The keypad's Enter too.
    if (launches) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(m_program->processes.calls.size(), 2);
    }
}

void TestServerMakerWindow::launchSavesThenStartsEachTime()
{
    selectMap(control<QListWidget>("maps"), QStringLiteral("arena1.bsp"));
    click(control<QPushButton>("cmdMapSel"));
    click(control<QPushButton>("Command1"));

    QCOMPARE(m_program->processes.calls.size(), 1);
    QCOMPARE(m_program->processes.calls.first().commandLine,
             m_executable + QStringLiteral(" +deathmatch 1 -console +maxplayers 32 +map arena1"));
    QCOMPARE(m_program->processes.calls.first().style, WindowStyle::Maximized);
    QCOMPARE(readBytes(cfg()), kInitialFile);
    // No confirmation after a launch, and the window stays.
    QVERIFY(m_program->messages.shown.isEmpty());
    QVERIFY(m_program->window(WindowName::server));

    // A second launch saves the changed fields again and starts again, with the player slots
    // as typed, blanks around them aside.
    retype(control<QLineEdit>("partyname"), QStringLiteral("LAN"));
    retype(control<QLineEdit>("maxplayersvalue"), QStringLiteral(" 8 "));
    click(control<QPushButton>("Command1"));
    QCOMPARE(m_program->processes.calls.size(), 2);
    QCOMPARE(m_program->processes.calls.last().commandLine,
             m_executable + QStringLiteral(" +deathmatch 1 -console +maxplayers 8 +map arena1"));
    QVERIFY(readBytes(cfg()).contains("maxplayers \" 8 \"\r\n"));
    QVERIFY(readBytes(cfg()).endsWith("hostname LAN\r\n"));
}

void TestServerMakerWindow::launchWithoutMap()
{
    writeBytes(cfg(), "previous\r\n");
    click(control<QPushButton>("Command1"));
    QCOMPARE(readBytes(cfg()), kInitialFile);
    QCOMPARE(m_program->messages.shown.size(), 1);
    const Message &message = m_program->messages.shown.first();
    QCOMPARE(message.text, QStringLiteral("Please select a map"));
    QCOMPARE(message.title, QStringLiteral("No map selected"));
    QCOMPARE(message.icon, MessageIcon::Warning);
    QVERIFY(m_program->processes.calls.isEmpty());
}

void TestServerMakerWindow::backToMainWindow()
{
    retype(control<QLineEdit>("partyname"), QStringLiteral("LAN"));
    control<QAction>("mnuFileitmCRVN")->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(!m_program->window(WindowName::server));
    QWidget *mainWindow = m_program->window(WindowName::main);
    QVERIFY(mainWindow);
    QVERIFY(mainWindow->isVisible());
    QCOMPARE(m_program->quitCount, 0);

    // Opened again, the maker starts afresh.
    m_window = m_program->show(WindowName::server);
    QVERIFY(m_window);
    QCOMPARE(control<QLineEdit>("partyname")->text(), QStringLiteral("My party - CRVN"));
}

void TestServerMakerWindow::endToEndWithStandIn()
{
    QTemporaryDir dir;
    const StandIn game(dir.filePath(QStringLiteral("game/hl.sh")));
    QVERIFY(makeFiles(dir.filePath(QStringLiteral("valve/maps")), {QStringLiteral("arena1.bsp")}));
    writeBytes(Settings::fileInDirectory(dir.path()),
               iniFor(dir.path(), dir.filePath(QStringLiteral("valve/")), game.program()));

    RecordingMessageBoxes messages;
    SystemProcessStarter starter;
    ScriptedFileDialogs files;
    FakeVolumes volumes;
    Program program(dir.path(), PlatformServices{messages, starter, files, volumes});
    program.windows().setQuitHandler([] {});
    registerServerWindows(program.context());

    QWidget *window = program.windows().show(WindowName::server);
    QVERIFY(window);
    selectMap(child<QListWidget>(window, "maps"), QStringLiteral("arena1.bsp"));
    QTest::keyClick(child<QListWidget>(window, "maps"), Qt::Key_Return); // "Choisir "
    retype(child<QLineEdit>(window, "maxplayersvalue"), QStringLiteral("12"));
    click(child<QPushButton>(window, "Command1"));

    QVERIFY2(messages.shown.isEmpty(),
             qPrintable(messages.shown.isEmpty() ? QString() : messages.shown.first().text));
    QCOMPARE(game.arguments(),
             (QStringList{QStringLiteral("+deathmatch"), QStringLiteral("1"),
                          QStringLiteral("-console"), QStringLiteral("+maxplayers"),
                          QStringLiteral("12"), QStringLiteral("+map"), QStringLiteral("arena1")}));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("valve/crvn.cfg"))),
             QByteArray(kInitialFile).replace("maxplayers 32", "maxplayers 12"));
    program.windows().unload(WindowName::server);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_MAIN(TestServerMakerWindow)
#include "tst_servermakerwindow.moc"
