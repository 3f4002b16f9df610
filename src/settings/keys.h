#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Every key of crvn.ini, named once.
struct SettingKey {
    QStringView section;
    QStringView name;
};

// One key's new value. A save of several keys is a list of them, written as one change of the
// file: all of them or none.
struct SettingWrite {
    SettingKey key;
    QString value;
};
using SettingWrites = QList<SettingWrite>;

namespace Keys {
inline constexpr SettingKey program{u"GAMEDIR", u"program"};
inline constexpr SettingKey maps{u"GAMEDIR", u"maps"};
inline constexpr SettingKey tfcMaps{u"GAMEDIR", u"tfcmaps"};
inline constexpr SettingKey valve{u"GAMEDIR", u"valve"};
inline constexpr SettingKey tfcDir{u"GAMEDIR", u"tfcdir"};
inline constexpr SettingKey dds{u"GAMEDIR", u"dds"};
inline constexpr SettingKey tfc{u"MISC", u"tfc"};
inline constexpr SettingKey firstUse{u"MISC", u"firstuse"};
inline constexpr SettingKey user{u"MISC", u"user"};
inline constexpr SettingKey company{u"MISC", u"company"};

// The servers joined last, newest first: SERVERS/recent1 to recent10, each "address:port".
inline constexpr int recentServerCount = 10;
inline constexpr QStringView recentServerNames[recentServerCount] = {
    u"recent1", u"recent2", u"recent3", u"recent4", u"recent5",
    u"recent6", u"recent7", u"recent8", u"recent9", u"recent10"};
// n from 1 to recentServerCount.
constexpr SettingKey recentServer(int n)
{
    return {u"SERVERS", recentServerNames[n - 1]};
}
} // namespace Keys

// The default most readers pass for a missing key.
inline constexpr QStringView kMissing = u"error";
