#pragma once

#include <QString>

#include <array>
#include <cstdint>

// What the new-game dialog shows of a base: the title from line 1 and the
// question count of every level from line 5. Nothing else of the file is read.
struct BaseSummary {
    enum class Failure {
        None,
        Open,   // the file could not be opened or read; nothing was read
        Number, // line 5 holds a byte that is not a digit, or a count too large
    };

    Failure failure = Failure::None;
    QString Error;                 // the reason, for the error report
    QString Title;                 // characters before the first separator of line 1
    // Index 1..15; counts parsed before a failure stay, the rest are 0.
    std::array<std::int32_t, 16> LevelCounts{};

    bool ok() const { return failure == Failure::None; }
};

// Reads the title and the level counts of the base file at `path`.
BaseSummary DescribeBaseFile(const QString &path);

// "<title> (<file name>)", the caption that names a base in the dialog.
QString BaseDescription(const QString &title, const QString &fileName);

// Sum of the level counts 1..15.
qint64 TotalQuestions(const std::array<std::int32_t, 16> &levelCounts);

// The message for a player who has no base at all: where bases go and what
// they are. `qaFolder` is the folder the game looks in.
QString NoBasesMessage(const QString &qaFolder);
