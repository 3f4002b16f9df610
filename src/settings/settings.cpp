#include "settings/settings.h"

#include "settings/profilefile.h"

#include <QDir>

Settings::Settings(QString filePath)
    : m_filePath(std::move(filePath))
{
}

QString Settings::fileInDirectory(const QString &directory)
{
    return QDir::cleanPath(QDir(directory).filePath(QStringLiteral("crvn.ini")));
}

QString Settings::read(SettingKey key, QStringView defaultValue) const
{
    return ProfileFile::read(m_filePath, key.section, key.name, defaultValue.toString());
}

bool Settings::write(SettingKey key, const QString &value)
{
    m_error.clear();
    return ProfileFile::write(m_filePath, key.section, key.name, value, &m_error);
}
