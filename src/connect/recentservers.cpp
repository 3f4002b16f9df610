#include "connect/recentservers.h"

std::optional<quint16> portNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value < 1 || value > 65535)
        return std::nullopt;
    return quint16(value);
}

QString serverEntry(const ServerAddress &server)
{
    return server.address.trimmed() + QLatin1Char(':') + server.port;
}

std::optional<ServerAddress> splitServerEntry(QStringView entry)
{
    const qsizetype colon = entry.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0 || colon == entry.size() - 1)
        return std::nullopt;
    return ServerAddress{entry.first(colon).trimmed().toString(),
                         entry.sliced(colon + 1).trimmed().toString()};
}

QStringList rememberServer(const QStringList &recent, const QString &entry, int limit)
{
    QStringList list;
    const QString newest = entry.trimmed();
    if (!newest.isEmpty())
        list.append(newest);
    for (const QString &old : recent) {
        const QString kept = old.trimmed();
        if (list.size() >= limit)
            break;
        if (!kept.isEmpty() && !list.contains(kept, Qt::CaseInsensitive))
            list.append(kept);
    }
    return list;
}

SettingWrites listWrites(const QStringList &stored, const QStringList &list,
                         SettingKey (*keyOf)(int), int count)
{
    SettingWrites writes;
    for (int n = 1; n <= count; ++n) {
        if (!list.value(n - 1).isEmpty() || !stored.value(n - 1).isEmpty())
            writes.append({keyOf(n), list.value(n - 1)});
    }
    return writes;
}
