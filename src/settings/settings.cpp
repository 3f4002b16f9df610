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
    return write(SettingWrites{SettingWrite{key, value}});
}

bool Settings::write(const SettingWrites &writes)
{
    m_error.clear();
    if (writes.isEmpty())
        return true; // nothing to save creates no file
    if (!m_startingText.isEmpty() && !QFileInfo::exists(m_filePath)) {
        if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath())) {
            m_error = QStringLiteral("impossible de créer le dossier %1")
                          .arg(QFileInfo(m_filePath).absolutePath());
            return false;
        }
        ProfileFile::Refusal refusal;
        const std::optional<QByteArray> text = ProfileFile::writeAllToBytes(m_startingText, writes,
                                                                            &refusal);
        if (!text) {
            m_error = ProfileFile::refusalReason(writes, refusal, m_filePath,
                                                 TextFile::detect(m_startingText));
            return false;
        }
        return TextFile::replace(m_filePath, *text, &m_error);
    }
    return ProfileFile::writeAll(m_filePath, writes, &m_error);
}

QString Settings::fileProblem() const
{
    return ProfileFile::fileProblem(m_filePath);
}
