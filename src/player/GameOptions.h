#pragma once

#include <QByteArray>
#include <QString>

// The player's own choices that the settings file has no place for, kept in
// a file of their own beside it (Zorban.ini keeps its format exactly):
//   Sound=1
//   Window=0
// One "key=value" line each, Windows-1251, CR LF; a value is 0 or 1. Lines
// with other keys or values are ignored, so a file from a later version or
// edited by hand still gives what it can.
struct GameOptions {
    static constexpr const char *FileName = "ZorbanOptions.ini";

    bool Sound = true;   // the cues sound
    bool Window = false; // the game plays in a window instead of the full screen

    bool operator==(const GameOptions &) const = default;

    static GameOptions Parse(const QByteArray &bytes);
    QByteArray Compose() const;

    // The file at `path`, or the defaults when there is none or it cannot be read.
    static GameOptions Read(const QString &path);
    // Replaces `path` atomically; false (and the old file untouched) on failure.
    bool Write(const QString &path) const;
};
