#include "connect/serverlist.h"

#include "connect/connectcommand.h"

std::optional<ServerAddress> hostAndPort(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    const std::optional<quint16> port = portNumber(trimmed.sliced(colon + 1));
    if (!port)
        return std::nullopt;
    QStringView host = trimmed.first(colon);
    if (host.startsWith(QLatin1Char('['))) {
        if (!host.endsWith(QLatin1Char(']')) || host.size() < 3)
            return std::nullopt;
        host = host.sliced(1, host.size() - 2);
    } else if (host.contains(QLatin1Char(':'))) {
        return std::nullopt; // a bare v6 address: its last group is not a port
    }
    if (host.trimmed().isEmpty() || host.contains(QLatin1Char(' ')))
        return std::nullopt;
    return ServerAddress{host.toString(), QString::number(*port)};
}

QStringList addFavourite(const QStringList &favourites, const QString &entry, int limit)
{
    const QString added = entry.trimmed();
    if (added.isEmpty() || favourites.contains(added, Qt::CaseInsensitive)
        || favourites.size() >= limit)
        return favourites;
    return favourites + QStringList{added};
}

QStringList removeFavourite(const QStringList &favourites, const QString &entry)
{
    QStringList kept;
    for (const QString &favourite : favourites) {
        if (favourite.compare(entry.trimmed(), Qt::CaseInsensitive) != 0)
            kept.append(favourite);
    }
    return kept;
}

bool keptByFilters(const ServerRow &row, const ServerFilters &filters)
{
    if (!row.info)
        return true;
    const ServerInfo &info = *row.info;
    if (filters.notFull && info.players >= info.maxPlayers)
        return false;
    if (filters.notEmpty && info.players - info.bots <= 0)
        return false;
    if (filters.noPassword && info.password)
        return false;
    return true;
}

bool rowLessThan(const ServerRow &a, const ServerRow &b, ServerColumn column)
{
    if (!a.info || !b.info)
        return static_cast<bool>(a.info); // an answered row before one without an answer
    const ServerInfo &x = *a.info;
    const ServerInfo &y = *b.info;
    const auto text = [](const QString &l, const QString &r) {
        return l.compare(r, Qt::CaseInsensitive) < 0;
    };
    switch (column) {
    case ServerColumn::Name: return text(x.name, y.name);
    case ServerColumn::Map: return text(x.map, y.map);
    case ServerColumn::Players:
        return x.players != y.players ? x.players < y.players : x.maxPlayers < y.maxPlayers;
    case ServerColumn::Ping: return a.ping < b.ping;
    case ServerColumn::Folder: return text(x.folder, y.folder);
    case ServerColumn::Lock: return int(x.password) < int(y.password);
    case ServerColumn::Count: break;
    }
    return false;
}

QString refreshProgressText(int answered, int total)
{
    return QStringLiteral("%1 / %2 serveurs").arg(answered).arg(total);
}

QString joinCommand(const QString &program, const ServerAddress &server,
                    const std::optional<QString> &password, const QString &gameFolder)
{
    QString command = connectCommand(program, server.address, server.port);
    if (password) {
        const QString console = QStringLiteral(" -console");
        command.insert(program.size() + console.size(), QStringLiteral(" +password ") + *password);
    }
    if (!gameFolder.isEmpty() && gameFolder.compare(u"valve", Qt::CaseInsensitive) != 0)
        command += QStringLiteral(" -game ") + gameFolder;
    return command;
}

bool usablePassword(const QString &password)
{
    if (password.isEmpty())
        return false;
    for (const QChar c : password) {
        if (c.isSpace() || c == QLatin1Char('"') || c == QLatin1Char(';')
            || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}
