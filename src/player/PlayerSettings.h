#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The settings file Zorban.ini: the chosen base and every player name entered
// so far, most recent first. Windows-1251, CR LF. Written as
//   [Base]=<file name inside QA/>
//   [Names]=<n>
//   <n names>
// and read with the two key lines in either order.
namespace PlayerSettings {

inline constexpr const char *FileName = "Zorban.ini";
inline constexpr const char *DefaultBaseFile = "Base.QA";

// What a readable file held. A key line that named neither key leaves the
// matching field empty, and the reader keeps what it had before.
struct Contents {
    std::optional<QString> BaseFile;
    std::optional<QStringList> Names;

    bool operator==(const Contents &) const = default;
};

// The two key lines of `bytes`; std::nullopt when the file counts as
// unreadable: a key line missing or without "=", or a count that is not a
// decimal integer of 32 bits (an optional sign, then digits). A base name that
// is not a bare file name reads as DefaultBaseFile; a negative count reads as
// no names. The count is never trusted to size anything: a file shorter than
// its count gives the names that are there.
std::optional<Contents> Parse(const QByteArray &bytes);

// The whole file as written on confirmation: "[Base]=" first, then the count,
// then `typedName` when it is not empty and not already among `knownNames`
// (compared exactly, letter case included), then the known names in order.
QByteArray Compose(const QString &baseFile, const QString &typedName,
                   const QStringList &knownNames);

// The file that replaces an unreadable one.
QByteArray DefaultContents();

// Reads `path`; std::nullopt when it cannot be opened or read, or is unreadable as above.
std::optional<Contents> Read(const QString &path);

// Replaces `path` atomically with `bytes`. On failure the old file stays as it
// was and `error` gets the system's text.
bool Write(const QString &path, const QByteArray &bytes, QString *error);

} // namespace PlayerSettings
