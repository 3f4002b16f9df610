#pragma once

#include <QByteArray>
#include <QString>

// A file's bytes, or "<unreadable>" when it cannot be opened, so that a comparison names it.
QByteArray readAll(const QString &path);

// Writes `bytes` as the whole file; false when the file cannot be written whole.
bool writeAll(const QString &path, const QByteArray &bytes);
