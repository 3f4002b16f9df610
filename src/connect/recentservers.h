#pragma once

#include "settings/keys.h"

#include <QString>
#include <QStringList>

#include <optional>

// A server as the player typed it: the address and the port of the connection window.
struct ServerAddress {
    QString address;
    QString port;
};

// The port as a number when the text is one from 1 to 65535 (digits only, no blanks).
std::optional<quint16> portNumber(QStringView text);

// "address:port", the address without the blanks around it: how a recent server is kept.
QString serverEntry(const ServerAddress &server);
// The address and port of a kept entry (split at its last ':'); nothing when it has no port.
std::optional<ServerAddress> splitServerEntry(QStringView entry);

// The recent list after a launch: entry first, an older copy of it removed (host names match
// without regard to case), at most `limit` entries. Blank entries are dropped.
QStringList rememberServer(const QStringList &recent, const QString &entry, int limit);

// The writes that turn a kept list (`stored`, as read) into `list`: keys 1..count of keyOf, each
// as one entry, skipping the keys empty in both. Written as one change of the file, a list is
// never left half shifted.
SettingWrites listWrites(const QStringList &stored, const QStringList &list,
                         SettingKey (*keyOf)(int), int count);
