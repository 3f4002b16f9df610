#include "maps/mappreview.h"

#include "files/outsidefile.h"
#include "maps/bspfile.h"
#include "maps/floordrawing.h"
#include "settings/textfile.h"

#include <QFileInfo>

namespace MapPreview {

namespace {

// The largest overview read (a 1024x768 bitmap is 2.3 MB) and map notes read.
constexpr qint64 kMaxOverviewSize = qint64(32) * 1024 * 1024;
constexpr qint64 kMaxNotesSize = qint64(1) * 1024 * 1024;
constexpr qsizetype kMaxNotesCharacters = 500;
constexpr qsizetype kMaxTitleCharacters = 128;

// Text the way the settings file is read: BOM or valid UTF-8, else the 8-bit code page.
QString decoded(QByteArrayView bytes)
{
    const TextFile::Encoding encoding = TextFile::detect(bytes);
    return TextFile::decode(bytes.sliced(std::min(bytes.size(), TextFile::bomSize(encoding))),
                            encoding);
}

// Control characters out; line breaks (CR LF or LF) kept as one line feed when keepLines.
QString withoutControls(const QString &text, bool keepLines)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text) {
        if (keepLines && c == u'\n')
            clean += c;
        else if (c == u'\t')
            clean += u' ';
        else if (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format)
            clean += c;
    }
    return clean;
}

QString firstCharacters(const QString &text, qsizetype count)
{
    if (text.size() <= count)
        return text;
    // Never half a surrogate pair.
    return text.left(text.at(count - 1).isHighSurrogate() ? count - 1 : count);
}

QString mapName(const QFileInfo &info)
{
    const QString name = info.fileName();
    return name.endsWith(QLatin1String(".bsp"), Qt::CaseInsensitive) ? name.chopped(4) : name;
}

QImage overview(const QString &path)
{
    QByteArray bytes;
    if (OutsideFile::read(path, kMaxOverviewSize, &bytes) != OutsideFile::Status::Ok)
        return {};
    QImage image;
    if (!image.loadFromData(bytes) || image.isNull())
        return {};
    if (image.width() <= kPictureWidth && image.height() <= kPictureHeight)
        return image;
    return image.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation);
}

QString notes(const QString &path)
{
    QByteArray bytes;
    if (OutsideFile::read(path, kMaxNotesSize, &bytes) != OutsideFile::Status::Ok)
        return {};
    return firstCharacters(withoutControls(decoded(bytes), true).trimmed(), kMaxNotesCharacters);
}

} // namespace

QString detailsText(const Preview &preview)
{
    const double megabytes = double(preview.fileSize) / 1048576.0;
    const QString size = QString::number(megabytes, 'f', 1).replace(u'.', u',');
    const QString spawns = preview.spawnPoints < 2
        ? QStringLiteral("%1 point d'apparition").arg(preview.spawnPoints)
        : QStringLiteral("%1 points d'apparition").arg(preview.spawnPoints);
    return QStringLiteral("%1 \u00b7 %2 Mo").arg(spawns, size);
}

Preview load(const QString &bspPath, SpawnKind kind)
{
    Preview preview;
    const QFileInfo info(bspPath);
    const QString name = mapName(info);
    preview.title = name;
    preview.notes = notes(info.absolutePath() + u'/' + name + QStringLiteral(".txt"));

    QByteArray bytes;
    if (OutsideFile::read(bspPath, Bsp::kMaxFileSize, &bytes) != OutsideFile::Status::Ok) {
        preview.fileSize = info.isFile() ? info.size() : 0;
        return preview;
    }
    preview.fileSize = bytes.size();
    std::optional<Bsp::Contents> contents = Bsp::read(bytes);
    bytes.clear();
    if (!contents)
        return preview;

    preview.readable = true;
    const QString title = withoutControls(decoded(contents->title), false).simplified();
    if (!title.isEmpty())
        preview.title = firstCharacters(title, kMaxTitleCharacters);
    preview.spawnPoints = kind == SpawnKind::TeamSpawn ? contents->teamSpawns
                                                       : contents->deathmatchSpawns;

    // The game folder holds maps/ and, beside it, overviews/.
    const QString gameFolder = QFileInfo(info.absolutePath()).absolutePath();
    preview.picture = overview(gameFolder + QStringLiteral("/overviews/") + name
                               + QStringLiteral(".bmp"));
    if (preview.picture.isNull())
        preview.picture = FloorDrawing::draw(*contents, QSize(kPictureWidth, kPictureHeight));
    return preview;
}

} // namespace MapPreview
