#pragma once

#include <QStringView>

// The names by which windows are opened; each is also the window's objectName.
namespace WindowName {
inline constexpr QStringView splash = u"splash";
inline constexpr QStringView main = u"sp";
inline constexpr QStringView server = u"DM";
inline constexpr QStringView advanced = u"frmAdvanced";
inline constexpr QStringView connect = u"connect";
inline constexpr QStringView serverList = u"serverList";
inline constexpr QStringView config = u"config";
inline constexpr QStringView firstUse1 = u"firstuse1";
inline constexpr QStringView firstUse2 = u"firstuse2";
inline constexpr QStringView firstUseConfig = u"firstuseconfig";
inline constexpr QStringView firstUseDone = u"firstusedone";
inline constexpr QStringView dirMaps = u"DirMaps";
inline constexpr QStringView dirMapsTfc = u"DirMapsTFC";
inline constexpr QStringView configTfc = u"configtfc";
inline constexpr QStringView about = u"frmAbout";
inline constexpr QStringView credits = u"secret";
} // namespace WindowName
