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

// The player's favourite servers, in the order added: SERVERS/fav1 to fav50, each "address:port".
inline constexpr int favouriteServerCount = 50;
inline constexpr QStringView favouriteServerNames[favouriteServerCount] = {
    u"fav1",  u"fav2",  u"fav3",  u"fav4",  u"fav5",  u"fav6",  u"fav7",  u"fav8",  u"fav9",
    u"fav10", u"fav11", u"fav12", u"fav13", u"fav14", u"fav15", u"fav16", u"fav17", u"fav18",
    u"fav19", u"fav20", u"fav21", u"fav22", u"fav23", u"fav24", u"fav25", u"fav26", u"fav27",
    u"fav28", u"fav29", u"fav30", u"fav31", u"fav32", u"fav33", u"fav34", u"fav35", u"fav36",
    u"fav37", u"fav38", u"fav39", u"fav40", u"fav41", u"fav42", u"fav43", u"fav44", u"fav45",
    u"fav46", u"fav47", u"fav48", u"fav49", u"fav50"};
// n from 1 to favouriteServerCount.
constexpr SettingKey favouriteServer(int n)
{
    return {u"SERVERS", favouriteServerNames[n - 1]};
}
} // namespace Keys

// The default most readers pass for a missing key.
inline constexpr QStringView kMissing = u"error";
