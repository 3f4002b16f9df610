#include "maps/mappreviewframe.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QPixmap>
#include <QPromise>
#include <QThreadPool>
#include <QVBoxLayout>

namespace {

// Previews are kept for the session, shared by every window, by path, size and modification
// time (a map replaced on disk is read again). Bounded by the pictures' memory, in KiB.
constexpr int kCacheKiB = 48 * 1024;

QCache<QString, MapPreview::Preview> &cache()
{
    static QCache<QString, MapPreview::Preview> previews(kCacheKiB);
    return previews;
}

QString cacheKey(const QString &bspPath, MapPreview::SpawnKind kind)
{
    const QFileInfo info(bspPath);
    return QStringLiteral("%1|%2|%3|%4")
        .arg(kind == MapPreview::SpawnKind::TeamSpawn ? 1 : 0)
        .arg(info.size())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(info.absoluteFilePath());
}

} // namespace

MapPreviewFrame::MapPreviewFrame(QWidget *parent)
    : QFrame(parent)
    , m_title(new QLabel(this))
    , m_picture(new QLabel(this))
    , m_details(new QLabel(this))
    , m_latest(std::make_shared<std::atomic<quint64>>(0))
{
    setObjectName(QStringLiteral("frmMapPreview"));
    m_title->setObjectName(QStringLiteral("lblMapTitle"));
    m_picture->setObjectName(QStringLiteral("lblMapPicture"));
    m_details->setObjectName(QStringLiteral("lblMapDetails"));

    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setAlignment(Qt::AlignHCenter);
    m_picture->setFixedSize(MapPreview::kPictureWidth, MapPreview::kPictureHeight);
    m_picture->setAlignment(Qt::AlignCenter);
    m_details->setAlignment(Qt::AlignHCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    layout->addWidget(m_details);
}

// Loads still running finish on their own; their results go nowhere.
MapPreviewFrame::~MapPreviewFrame() = default;

void MapPreviewFrame::showMap(const QString &bspPath, MapPreview::SpawnKind kind)
{
    if (bspPath.isEmpty()) {
        clear();
        return;
    }
    const quint64 request = ++*m_latest;
    const QString key = cacheKey(bspPath, kind);
    if (const MapPreview::Preview *cached = cache().object(key)) {
        display(bspPath, *cached);
        return;
    }

    m_title->setText(QFileInfo(bspPath).completeBaseName());
    m_picture->clear();
    m_picture->setToolTip(QString());
    m_details->clear();

    auto promise = std::make_shared<QPromise<MapPreview::Preview>>();
    auto *watcher = new QFutureWatcher<MapPreview::Preview>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request, bspPath, key] {
        watcher->deleteLater();
        const QFuture<MapPreview::Preview> future = watcher->future();
        if (future.resultCount() == 0)
            return;
        const MapPreview::Preview preview = future.result();
        const qint64 cost = preview.picture.sizeInBytes() / 1024 + 1;
        cache().insert(key, new MapPreview::Preview(preview), static_cast<int>(cost));
        if (request == *m_latest)
            display(bspPath, preview);
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, latest = m_latest, request, bspPath, kind] {
        promise->start();
        // A newer map was asked for while this one waited: its preview would never show.
        if (request == *latest)
            promise->addResult(MapPreview::load(bspPath, kind));
        promise->finish();
    });
}

void MapPreviewFrame::clear()
{
    ++*m_latest;
    m_title->clear();
    m_picture->clear();
    m_picture->setToolTip(QString());
    m_details->clear();
}

void MapPreviewFrame::display(const QString &bspPath, const MapPreview::Preview &preview)
{
    m_title->setText(preview.title);
    if (preview.picture.isNull()) {
        m_picture->setText(QStringLiteral("Aperçu indisponible"));
    } else {
        m_picture->setPixmap(QPixmap::fromImage(preview.picture));
    }
    m_picture->setToolTip(preview.notes);
    m_details->setText(preview.readable ? MapPreview::detailsText(preview) : QString());
    Q_EMIT previewShown(bspPath);
}
