#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

// Reading the game's files without ever blocking the window: a base or a
// settings file must be a regular file (a symbolic link to one is fine). A
// FIFO, a device or a folder under such a name is refused before it is opened
// for reading in earnest, so it can never hang a read; a file larger than
// MaxReadSize is refused before a byte of it is read.
namespace SafeFile {

// 512 MiB: far beyond any real question base (the bundled one is a few hundred
// KiB), small enough to hold in memory twice while a base is rewritten.
inline constexpr qint64 MaxReadSize = qint64(512) * 1024 * 1024;

// Opens `path` into `file` for reading. On failure `file` stays closed and the
// reason comes back: the system's text, "not a regular file" or "larger than
// 512 MiB".
std::optional<QString> OpenForReading(QFile &file, const QString &path, qint64 maxSize = MaxReadSize);

// The whole content of a file opened by OpenForReading, up to `maxSize`.
std::optional<QString> ReadAll(QFile &file, QByteArray *bytes, qint64 maxSize = MaxReadSize);

// The whole content of `path`, with the same checks.
std::optional<QString> ReadAll(const QString &path, QByteArray *bytes, qint64 maxSize = MaxReadSize);

// Whether `path` names a regular file, following symbolic links; never opens it.
bool IsRegularFile(const QString &path);

} // namespace SafeFile
