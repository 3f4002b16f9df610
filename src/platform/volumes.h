#pragma once

#include <QList>
#include <QString>

// A drive on Windows, a mounted volume elsewhere.
struct Volume {
    QString name; // what the drive list shows: "c:" on Windows, the mount point elsewhere
    QString root; // the volume's root directory: "c:\" on Windows, the mount point elsewhere
};

class Volumes
{
public:
    virtual ~Volumes() = default;
    virtual QList<Volume> list() = 0;
    // The volume whose root holds the given directory (the current drive of a path).
    virtual Volume volumeOf(const QString &directory) = 0;
    // False when the volume has no medium or is not ready to be listed.
    virtual bool isReady(const Volume &volume) = 0;
};
