#include "detect/detection.h"

#include "detect/vdf.h"
#include "files/outsidefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

const QString kSteamKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Valve\\Steam");
const QString kHalfLifeApp = QStringLiteral("70");

// This platform's way of doing things; both ways are compiled everywhere and tested by name.
#ifdef Q_OS_WIN
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

QString cleaned(const QString &path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

// The path's identity for removing duplicates: symbolic links resolved, when it exists. On
// Windows the registry's lower-case SteamPath and the usual folder name the same place.
QString identity(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString id = canonical.isEmpty() ? cleaned(path) : canonical;
    return kWindows ? id.toLower() : id;
}

bool allDigits(const QString &text)
{
    return !text.isEmpty()
        && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

bool isDirectory(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

// A path below `folder`, and the first folder under it that holds the path.
bool isBelow(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

namespace Detect {

QStringList linuxSteamRootCandidates(const DetectEnvironment &environment)
{
    const QString home = cleaned(environment.homePath());
    QString dataHome = environment.variable("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = home + QStringLiteral("/.local/share");
    const QString flatpak = home + QStringLiteral("/.var/app/com.valvesoftware.Steam");
    const QString snap = home + QStringLiteral("/snap/steam/common");
    return {
        flatpak + QStringLiteral("/.local/share/Steam"),
        flatpak + QStringLiteral("/.steam/steam"),
        flatpak + QStringLiteral("/.steam/root"),
        cleaned(dataHome) + QStringLiteral("/Steam"),
        home + QStringLiteral("/.steam/steam"),
        home + QStringLiteral("/.steam/root"),
        home + QStringLiteral("/.steam/debian-installation"),
        snap + QStringLiteral("/.local/share/Steam"),
        snap + QStringLiteral("/.steam/steam"),
        snap + QStringLiteral("/.steam/root"),
    };
}

QStringList windowsSteamRootCandidates(const DetectEnvironment &environment)
{
    QStringList candidates;
    // Stored in lower case with forward slashes; QDir takes it as it is.
    const QString userPath = environment.registryValue(kSteamKey, QStringLiteral("SteamPath"));
    if (!userPath.isEmpty())
        candidates.append(cleaned(userPath));
    for (const QString &key :
         {QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Valve\\Steam"),
          QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Valve\\Steam")}) {
        const QString path = environment.registryValue(key, QStringLiteral("InstallPath"));
        if (!path.isEmpty())
            candidates.append(cleaned(path));
    }
    candidates.append(QStringLiteral("C:/Program Files (x86)/Steam"));
    return candidates;
}

QStringList steamRootCandidates(const DetectEnvironment &environment)
{
    return kWindows ? windowsSteamRootCandidates(environment)
                    : linuxSteamRootCandidates(environment);
}

QStringList steamRoots(const QStringList &candidates)
{
    QStringList roots;
    QSet<QString> seen;
    for (const QString &candidate : candidates) {
        if (!isDirectory(candidate + QStringLiteral("/steamapps")))
            continue;
        const QString id = identity(candidate);
        if (seen.contains(id))
            continue;
        seen.insert(id);
        roots.append(cleaned(candidate));
    }
    return roots;
}

QStringList libraryPathsFromVdf(const QByteArray &text)
{
    QStringList paths;
    const std::optional<VdfNode> root = Vdf::root(Vdf::parse(text), u"libraryfolders");
    if (!root || !root->isBlock)
        return paths;
    for (const VdfNode &entry : root->children) {
        if (!allDigits(entry.key))
            continue;
        // The current shape gives a block with a path; the older one the path itself.
        const QString path = entry.isBlock ? entry.text(u"path") : entry.value;
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

QList<SteamLibrary> steamLibraries(const QStringList &roots)
{
    QList<SteamLibrary> libraries;
    QSet<QString> seen;
    const auto add = [&](const QString &root, const QString &path) {
        // Libraries on removed or unmounted disks are skipped without a word.
        if (!isDirectory(path + QStringLiteral("/steamapps")))
            return;
        const QString id = identity(path);
        if (seen.contains(id))
            return;
        seen.insert(id);
        libraries.append(SteamLibrary{root, cleaned(path)});
    };
    for (const QString &root : roots) {
        add(root, root);
        // A file that cannot be read counts as absent: the root itself is still a library.
        QByteArray text;
        if (OutsideFile::read(root + QStringLiteral("/steamapps/libraryfolders.vdf"), Vdf::maxBytes,
                              &text)
            != OutsideFile::Status::Ok)
            continue;
        const QStringList listed = libraryPathsFromVdf(text);
        for (const QString &path : listed)
            add(root, cleaned(path));
    }
    return libraries;
}

QString gameExecutable(const QString &gameFolder, bool windows)
{
    const QStringList names = windows
        ? QStringList{QStringLiteral("hl.exe")}
        : QStringList{QStringLiteral("hl.sh"), QStringLiteral("hl_linux"),
                      QStringLiteral("hl.exe")};
    for (const QString &name : names) {
        QString path = gameFolder + QLatin1Char('/') + name;
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

bool installationIn(const SteamLibrary &library, bool windows, Installation &found)
{
    const QString steamapps = library.path + QStringLiteral("/steamapps");
    const std::optional<VdfNode> state = Vdf::root(
        Vdf::parseFile(steamapps + QStringLiteral("/appmanifest_") + kHalfLifeApp
                       + QStringLiteral(".acf")),
        u"AppState");
    if (!state)
        return false;
    const QString installDir = state->text(u"installdir");
    bool number = false;
    const uint flags = state->text(u"StateFlags").toUInt(&number);
    // Bit 4: fully installed. An update or a download in progress leaves it clear.
    if (!number || (flags & 4U) == 0)
        return false;
    // The manifest is not ours: a folder name that climbs out of common/ is not taken.
    if (installDir.isEmpty() || installDir.contains(QLatin1Char('/'))
        || installDir.contains(QLatin1Char('\\')) || installDir == u"." || installDir == u"..")
        return false;
    const QString game = steamapps + QStringLiteral("/common/") + installDir;
    const QString program = gameExecutable(game, windows);
    if (program.isEmpty())
        return false;
    found.steamRoot = QDir::toNativeSeparators(library.steamRoot);
    found.library = QDir::toNativeSeparators(library.path);
    found.gameFolder = QDir::toNativeSeparators(game);
    found.program = QDir::toNativeSeparators(program);
    found.maps = QDir::toNativeSeparators(game + QStringLiteral("/valve/maps"));
    found.tfcMaps = QDir::toNativeSeparators(game + QStringLiteral("/tfc/maps"));
    found.tfc = OutsideFile::isRegularFile(game + QStringLiteral("/tfc/liblist.gam"));
    return true;
}

Detection detect(const DetectEnvironment &environment)
{
    Detection detection;
    const QStringList candidates = steamRootCandidates(environment);
    for (const QString &candidate : candidates) {
        const QString shown = QDir::toNativeSeparators(candidate);
        if (!detection.searched.contains(shown))
            detection.searched.append(shown);
    }
    detection.libraries = steamLibraries(steamRoots(candidates));
    QSet<QString> games;
    for (const SteamLibrary &library : std::as_const(detection.libraries)) {
        const QString shown = QDir::toNativeSeparators(library.path);
        if (!detection.searched.contains(shown))
            detection.searched.append(shown);
        Installation found;
        if (!installationIn(library, kWindows, found))
            continue;
        const QString id = identity(found.gameFolder);
        if (games.contains(id))
            continue;
        games.insert(id);
        detection.installations.append(found);
    }
    return detection;
}

QString nothingFoundText(const Detection &detection)
{
    return QStringLiteral("Aucune installation de Half-Life n'a été trouvée.\n\n"
                          "Endroits examinés :\n")
        + detection.searched.join(QLatin1Char('\n'));
}

bool steamRunningFromPidFile(const DetectEnvironment &environment)
{
    QByteArray text;
    if (OutsideFile::read(cleaned(environment.homePath()) + QStringLiteral("/.steam/steam.pid"),
                          maxPidFileSize, &text)
        != OutsideFile::Status::Ok)
        return false;
    bool number = false;
    const qint64 pid = text.trimmed().toLongLong(&number);
    return number && environment.processAlive(pid);
}

bool steamRunningFromRegistry(const DetectEnvironment &environment)
{
    bool number = false;
    const qint64 pid = environment
                           .registryValue(kSteamKey + QStringLiteral("\\ActiveProcess"),
                                          QStringLiteral("pid"))
                           .toLongLong(&number);
    return number && pid > 0 && environment.processAlive(pid);
}

bool steamRunning(const DetectEnvironment &environment)
{
    return kWindows ? steamRunningFromRegistry(environment) : steamRunningFromPidFile(environment);
}

SteamStart steamStartFor(const QString &program, const QList<SteamLibrary> &libraries)
{
    SteamStart start;
    if (program.isEmpty())
        return start;
    const QString path = identity(program);
    for (const SteamLibrary &library : libraries) {
        const QString common = identity(library.path) + QStringLiteral("/steamapps/common");
        if (!isBelow(path, common))
            continue;
        start.inLibrary = true;
        const QString below = path.mid(common.size() + 1);
        start.gameFolder = QDir::toNativeSeparators(common + QLatin1Char('/')
                                                    + below.section(QLatin1Char('/'), 0, 0));
#ifndef Q_OS_WIN
        // The runtime carries the libraries the native game needs; Wine brings its own.
        const QString runtime = library.steamRoot
            + QStringLiteral("/ubuntu12_32/steam-runtime/run.sh");
        if (!program.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)
            && QFileInfo(runtime).isFile())
            start.runtime = runtime;
#endif
        break;
    }
    return start;
}

} // namespace Detect
