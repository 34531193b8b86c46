#pragma once

#include "questionbase/BaseFile.h"
#include "questionbase/QuestionRef.h"

#include <QByteArray>

#include <functional>
#include <variant>

// The whole content of a base file, for tools that read and write bases
// without a game: everything the file holds, in file order.
struct BaseFileModel {
    QByteArray HeaderLine;                                   // line 1 as stored, kept byte for byte
    std::array<BestTable, BaseFile::LeaderEntries> Leaders;  // entries 1..5 at index 0..4
    std::int32_t GamesPlayed = 0;
    std::int32_t AuthorCount = 0;   // as declared; Authors may hold fewer names
    QStringList Authors;            // author 1 first
    std::int32_t SubjectCount = 0;
    QStringList Subjects;           // subject 1 first
    std::array<QList<QABase>, BaseFile::Levels> Levels;      // level 1 at index 0, rotation order

    // Lines after the last question line: kept in memory only, never written.
    int ExtraLines = 0;

    bool operator==(const BaseFileModel &) const = default;
};

// Reports progress while a base is processed: `processed` items out of `total`.
using BaseProgress = std::function<void(std::int64_t processed, std::int64_t total)>;

// A base file read without decoding its questions: lines 1 to 5 as in
// BaseFileModel, and every question as the place of its line in the bytes
// that were read (checked, but not decoded).
struct BaseIndex {
    QByteArray HeaderLine;
    std::array<BestTable, BaseFile::LeaderEntries> Leaders;
    std::int32_t GamesPlayed = 0;
    std::int32_t AuthorCount = 0;
    QStringList Authors;
    std::int32_t SubjectCount = 0;
    QStringList Subjects;
    std::array<QList<QuestionRef>, BaseFile::Levels> Levels; // level 1 at index 0
    int ExtraLines = 0;
};

// The one reading of a base file's format, behind the game's load, the
// tools and the fuzz targets: the failures of ParseBaseFile, with their line
// and field. `progress` runs after every question line.
std::variant<BaseIndex, BaseFailure> IndexBaseFile(QByteArrayView bytes, const BaseProgress &progress = {});

// The level whose questions are missing when one is: a base the game can
// play has at least one question on every level. Gives 1..15, or 0 when every
// level holds a question.
int FirstEmptyLevel(const std::array<std::int32_t, BaseFile::Levels> &counts);
// The failure a game reports for that level (line 5, the level's field).
BaseFailure EmptyLevelFailure(int level);

// Parses a whole base. Format failures (a bad number, a seventh separator,
// more names than a count, more than fifteen level counts, fewer question
// lines than the counts declare) come back with their place. A level with no
// questions is not a format failure; the game's loading refuses it.
// `progress` runs after every question line.
std::variant<BaseFileModel, BaseFailure> ParseBaseFile(const QByteArray &bytes, const BaseProgress &progress = {});

// The file bytes of a model: CR LF after every line, no extra lines.
// `progress` runs after every question line.
QByteArray SerializeBaseFile(const BaseFileModel &model, const BaseProgress &progress = {});
