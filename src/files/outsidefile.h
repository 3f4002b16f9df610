#pragma once

#include <QByteArray>
#include <QString>

// Every file Corvane reads that it did not write itself (Steam's files, a mod's liblist.gam,
// steam.pid, maps, the settings file) is read here: opened without blocking, checked on the open
// handle to be a regular file, read up to a stated size. A FIFO, a device or a directory in a
// file's place fails at once with a reason instead of hanging the program.
namespace OutsideFile {

enum class Status {
    Ok,      // *bytes holds the whole file
    Missing, // nothing there (or a folder on the way is missing)
    Refused, // there, but not readable as asked: *reason says why, naming the file
};

// Reads the whole file at path when it is a regular file (or a link to one) of at most maxSize
// bytes. The read itself stops one byte past the limit, so a file that grows meanwhile is
// refused too, never read past maxSize.
Status read(const QString &path, qint64 maxSize, QByteArray *bytes, QString *reason = nullptr);

// Reads at most the first `count` bytes of the file at path when it is a regular file (or a link
// to one), whatever its size: to recognise a file by its first bytes.
Status readStart(const QString &path, qint64 count, QByteArray *bytes, QString *reason = nullptr);

// Whether path is a regular file (links followed), decided without opening it: for folder walks,
// so that a FIFO named like a map is skipped, never opened.
bool isRegularFile(const QString &path);

// Why path (links followed) is there but is not a regular file, or cannot be looked at, naming
// it; empty when it is a regular file or is missing. Decided without opening it.
QString notRegularProblem(const QString &path);

// The system's reason for an error number, in French ("trop de niveaux de liens symboliques").
// Every reason the player reads comes from this one table; an error without a text keeps its
// number ("erreur système 1234").
QString systemReason(int error);
// The same for a Windows error code (GetLastError): the text of the matching error number, else
// "erreur Windows N".
QString windowsReason(unsigned long code);

// "<name> est trop volumineux (N octets ; M octets au plus)."
QString tooBigReason(const QString &path, qint64 size, qint64 maxSize);

} // namespace OutsideFile
