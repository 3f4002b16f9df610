#include "server/serverconfig.h"

#include "settings/textfile.h"

#include <QDir>

namespace {

bool needsQuotes(const QString &value)
{
    if (value.contains(QLatin1String("//")))
        return true;
    for (const QChar c : value) {
        if (c.isSpace())
            return true;
        switch (c.unicode()) {
        case u';':
        case u'\'':
        case u',':
        case u'(':
        case u')':
        case u'{':
        case u'}':
        case u':': return true;
        default: break;
        }
    }
    return false;
}

QString line(QStringView name, const QString &value)
{
    return name.toString() + QLatin1Char(' ') + consoleValue(value);
}

// A value the game cannot take whole, whatever the quoting: a double quote ends the quoted
// value early and a line break starts a new command.
std::optional<ServerCheckFailure> unsafeValue(const QString &label, const QString &value)
{
    if (value.contains(QLatin1Char('"')))
        return ServerCheckFailure{
            QStringLiteral("Le champ « %1 » contient un guillemet (\"), que le jeu ne peut pas "
                           "lire dans une valeur. Retirez-le puis enregistrez à nouveau.")
                .arg(label),
            QStringLiteral("Caractère interdit"), true};
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return ServerCheckFailure{
            QStringLiteral("Le champ « %1 » contient un retour à la ligne, que le jeu lirait "
                           "comme une nouvelle commande. Retirez-le puis enregistrez à nouveau.")
                .arg(label),
            QStringLiteral("Caractère interdit"), true};
    return std::nullopt;
}

// Plain digits only: the engine's own reading of "+8" or "8x" is not what the field shows.
bool isPlayerCount(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const int count = text.toInt(&ok);
    return ok && count >= 1 && count <= 32;
}

} // namespace

QString consoleValue(const QString &typed)
{
    return needsQuotes(typed) ? QLatin1Char('"') + typed + QLatin1Char('"') : typed;
}

QStringList serverConfigLines(const ServerFields &f)
{
    QStringList lines;
    const auto when = [&lines](bool condition, const char *text) {
        if (condition)
            lines.append(QLatin1String(text));
    };
    when(f.allowDownload, "cl_allowdownload 1");
    when(f.allowUpload, "cl_allowupload 1");
    when(f.noFallDamage, "mp_falldamage 0");
    when(f.noAutoCrosshair, "mp_autocrosshair 0");
    when(f.flashlight, "mp_flashlight 1");
    when(f.cheats, "sv_cheats 1");
    when(f.forceRespawn, "mp_forcerespawn 1");
    when(f.footsteps, "mp_footsteps 1");
    when(f.noFallDamage, "falldamage 1");
    when(f.weaponStay, "mp_weaponstay 1");
    when(f.friendlyFire, "mp_friendlyfire 1");
    when(f.chaseView, "chase_active 1");
    when(f.noDownloadInGame, "cl_download_ingame 0");
    lines.append(line(u"mp_fraglimit", f.fragLimit));
    lines.append(line(u"mp_timelimit", f.timeLimit));
    lines.append(line(u"maxplayers", f.maxPlayers));
    lines.append(line(u"sv_gravity", f.gravity));
    lines.append(line(u"sv_maxspectators", f.maxSpectators));
    lines.append(line(u"hostname", f.partyName));
    if (f.password)
        lines.append(line(u"sv_password", f.passwordValue));
    return lines;
}

QString serverConfigText(const ServerFields &fields)
{
    QString text;
    for (const QString &line : serverConfigLines(fields))
        text += line + QLatin1String("\r\n");
    return text;
}

std::optional<ServerCheckFailure> checkServerFields(const ServerFields &f)
{
    const QString blank = QStringLiteral(" ");
    if (f.partyName.isEmpty())
        return ServerCheckFailure{QStringLiteral("You must specify your party name"), QString()};
    if (f.password && f.passwordValue.isEmpty())
        return ServerCheckFailure{
            QStringLiteral("Please type your password or uncheck the password case"),
            QStringLiteral("Error !")};
    if (f.partyName == blank)
        return ServerCheckFailure{QStringLiteral("You MUST type a party name"),
                                  QStringLiteral("Party name")};
    if (f.maxPing == blank)
        return ServerCheckFailure{QStringLiteral("Please specify the maximum ping allowed"),
                                  QStringLiteral("Max ping")};
    if (f.maxPlayers == blank)
        return ServerCheckFailure{QStringLiteral("Please define the maximum player allowed"),
                                  QStringLiteral("Max players")};

    // Only the values that reach the file, in the file's order.
    const std::pair<QString, QString> written[] = {
        {QStringLiteral("Limite de frag"), f.fragLimit},
        {QStringLiteral("Limite de temps"), f.timeLimit},
        {QStringLiteral("Max. players"), f.maxPlayers},
        {QStringLiteral("Gravité"), f.gravity},
        {QStringLiteral("Spéctateurs max"), f.maxSpectators},
        {QStringLiteral("Party name"), f.partyName},
        {QStringLiteral("Mot de passe"), f.password ? f.passwordValue : QString()},
    };
    for (const auto &[label, value] : written) {
        if (auto failure = unsafeValue(label, value))
            return failure;
    }
    // The launch gives it to the engine, which takes the slots only on its command line.
    if (!isPlayerCount(f.maxPlayers.trimmed()))
        return ServerCheckFailure{
            QStringLiteral("Max. players doit être un nombre entier de 1 à 32."),
            QStringLiteral("Max players"), true};
    return std::nullopt;
}

bool writeServerConfig(const QString &path, const ServerFields &fields, QString *reason)
{
    return TextFile::writeText(path, serverConfigText(fields), TextFile::gameEncoding(), reason);
}

QString serverLaunchCommand(const QString &program, const QString &maxPlayers, const QString &map)
{
    // Without "+maxplayers" a server started from the command line has a single slot, and the
    // engine takes it only before the server starts: crvn.cfg's line comes too late.
    return program + QStringLiteral(" +deathmatch 1 -console +maxplayers ") + maxPlayers.trimmed()
        + QStringLiteral(" +map ") + map;
}
