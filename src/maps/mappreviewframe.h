#pragma once

#include "maps/mappreview.h"

#include <QFrame>
#include <QString>

#include <atomic>
#include <memory>

class QLabel;

// The frame under a window's map list (`frmMapPreview`): `lblMapTitle`, `lblMapPicture` (256x192)
// and `lblMapDetails`. It loads previews off the window's thread, a newer map cancelling an older
// one, and keeps them for the session by path, size and modification time.
class MapPreviewFrame : public QFrame
{
    Q_OBJECT

public:
    explicit MapPreviewFrame(QWidget *parent = nullptr);
    ~MapPreviewFrame() override;

    // Shows the map at bspPath (empty: shows nothing).
    void showMap(const QString &bspPath, MapPreview::SpawnKind kind);
    void clear();

Q_SIGNALS:
    // The preview of the map last asked for is on screen (for tests and screenshots).
    void previewShown(const QString &bspPath);

private:
    void display(const QString &bspPath, const MapPreview::Preview &preview);

    QLabel *m_title = nullptr;
    QLabel *m_picture = nullptr;
    QLabel *m_details = nullptr;
    // The number of the latest request, shared with the loads still queued so that those a
    // newer map made useless skip their work.
    std::shared_ptr<std::atomic<quint64>> m_latest;
};
