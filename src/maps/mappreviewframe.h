#pragma once

#include "maps/mappreview.h"

#include <QFrame>

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

signals:
    // The preview of the map last asked for is on screen (for tests and screenshots).
    void previewShown(const QString &bspPath);

private:
    // ...
};
