#include "settings/settings.h"

#include "settings/profilefile.h"
#include "settings/textfile.h"

#include <QDir>
#include <QFileInfo>

Settings::Settings(QString filePath, QByteArray startingText)
    : m_filePath(std::move(filePath))
    , m_startingText(std::move(startingText))
{
}

QString Settings::fileInDirectory(const QString &directory)
{
    return QDir::cleanPath(QDir(directory).filePath(QStringLiteral("crvn.ini")));
}

QString Settings::read(SettingKey key, QStringView defaultValue) const
{
    if (!m_startingText.isEmpty() && !QFileInfo::exists(m_filePath))
        return ProfileFile::readFromBytes(m_startingText, key.section, key.name,
                                          defaultValue.toString());
    return ProfileFile::read(m_filePath, key.section, key.name, defaultValue.toString());
}

bool Settings::write(SettingKey key, const QString &value)
{
    return write(key.section, {{key.name, value}});
}

bool Settings::write(QStringView section, const QList<QPair<QStringView, QString>> &values)
{
    m_error.clear();
    QList<ProfileFile::KeyValue> entries;
    entries.reserve(values.size());
    for (const auto &[name, value] : values)
        entries.append({name, value});
    if (!m_startingText.isEmpty() && !QFileInfo::exists(m_filePath)) {
        if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath())) {
            m_error = QStringLiteral("impossible de créer le dossier %1")
                          .arg(QFileInfo(m_filePath).absolutePath());
            return false;
        }
        QByteArray text = m_startingText;
        for (const ProfileFile::KeyValue &entry : entries) {
            char32_t refused = 0;
            const std::optional<QByteArray> next = ProfileFile::writeToBytes(
                text, section, entry.key, entry.value, &refused);
            if (!next) {
                m_error = TextFile::refusalReason(refused, m_filePath,
                                                  TextFile::detect(m_startingText));
                return false;
            }
            text = *next;
        }
        return TextFile::replace(m_filePath, text, &m_error);
    }
    return ProfileFile::writeKeys(m_filePath, section, entries, &m_error);
}

QString Settings::fileProblem() const
{
    return ProfileFile::fileProblem(m_filePath);
}
