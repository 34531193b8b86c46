#pragma once

#include "questionbase/BestTable.h"
#include "questionbase/QABase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// Where a base file broke its format: the line (1-based), the field within it
// (1-based; 0 when the line as a whole is at fault) and what is wrong.
struct BaseFailure {
    int Line = 0;
    int Field = 0;
    QString Reason;

    bool operator==(const BaseFailure &) const = default;
};

// The text format of a question base, one line at a time.
//
// A base is a sequence of lines, each ended by CR LF (a lone LF is accepted
// on reading). Fields within a line are separated by the byte 19; every text
// byte is stored through FlipChar, except the digits of line 5 (the level
// counts), which are stored plain. Numbers are decimal digits only.
//
// Line 1: the title as field 1, the rest opaque. Line 2: five leaderboard
// entries (name, step, ticks) and the games counter. Lines 3 and 4: author
// and subject tables (count, then the names). Line 5: fifteen level counts.
// Then one question per line, level 1 first, in rotation order.
namespace BaseFile {

inline constexpr char Separator = 19;
inline constexpr int Levels = 15;
inline constexpr int LeaderEntries = 5;
inline constexpr int HeaderLineNo = 1;
inline constexpr int LeaderLineNo = 2;
inline constexpr int AuthorLineNo = 3;
inline constexpr int SubjectLineNo = 4;
inline constexpr int LevelCountLineNo = 5;
inline constexpr int FirstQuestionLineNo = 6;

// A file name that may stand for a base inside QA/: not empty, not "." or
// "..", no path separator, no control character (C0, DEL or C1), and
// encodable in Windows-1251 (it is stored in the settings file).
bool IsBareFileName(const QString &name);

// The lines of a file without their ends. A line ends at LF; one CR right
// before that LF belongs to the line end. A last line without LF counts; a
// file that ends with a line end has no empty line after it.
QList<QByteArray> SplitLines(const QByteArray &bytes);

// The one reader of a file's lines, by the rule above: each call gives the
// next line of `bytes` as a view (and its first byte's offset), or false
// when the bytes are used up.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool Next(QByteArrayView *line, qsizetype *offset = nullptr);
    // Lines left after the ones read so far.
    qsizetype CountRest() const;
    // Bytes left after the lines read so far.
    qsizetype BytesLeft() const { return m_bytes.size() - m_pos; }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// The fields of a line, split at every separator ("" gives one empty field,
// a trailing separator one more empty field).
QList<QByteArray> SplitFields(QByteArrayView line);

// Stored bytes -> text: each byte flipped, then decoded as Windows-1251.
QString DecodeText(QByteArrayView stored);

// Text -> stored bytes, after CleanText: never a byte below 32.
QByteArray EncodeText(const QString &text);

// What a text field may hold: every character below 32 becomes a space and
// every character that Windows-1251 cannot hold becomes '?'.
QString CleanText(const QString &text);

// A numeric field, digit by digit: stored bytes (flipped unless `plain`) must
// be decimal digits; the value must fit a signed 32-bit integer. An empty
// field is 0. On failure returns the reason, and *value holds the number of
// the digits before the fault.
std::optional<QString> ParseNumber(QByteArrayView stored, bool plain, std::int32_t *value);

// Decimal digits of a number (negatives are written as 0), flipped unless `plain`.
QByteArray EncodeNumber(std::int32_t value, bool plain = false);

// Line 1: field 1 is the title; the rest of the line is not interpreted.
QString ReadTitle(QByteArrayView headerLine);
// The raw bytes of line 1 after field 1, starting with its separator ("" when none).
QByteArray HeaderRest(QByteArrayView headerLine);

// Line 2. Fields beyond 16 are ignored; missing fields read as empty or 0.
// `leaders` gets entries 1..5 at index 0..4.
std::optional<BaseFailure> ReadLeaderLine(QByteArrayView line, std::array<BestTable, LeaderEntries> *leaders,
                                          std::int32_t *gamesPlayed);
QByteArray WriteLeaderLine(const std::array<BestTable, LeaderEntries> &leaders, std::int32_t gamesPlayed);

// A name table may declare at most this many names more than its line holds:
// the rewrite writes every counted name, so a count far beyond the names
// present would make the file grow by that many separators.
inline constexpr std::int32_t MaxMissingNames = 65536;

// Lines 3 and 4: the count, then the names (name 1 first in `names`). More
// names than the count fail; fewer are allowed (the missing ones read as
// empty names: `names` holds only those present, and the count stays as read),
// up to MaxMissingNames missing.
std::optional<BaseFailure> ReadNameLine(QByteArrayView line, int lineNo, std::int32_t *count, QStringList *names);
// Writes the count, then `count` names: those of `names`, and an empty name
// for each one the list lacks, so that the line holds as many names as it counts.
QByteArray WriteNameLine(std::int32_t count, const QStringList &names);

// Line 5: at most fifteen plain numbers; missing ones read as 0. `counts`
// gets levels 1..15 at index 0..14.
std::optional<BaseFailure> ReadLevelCountLine(QByteArrayView line, std::array<std::int32_t, Levels> *counts);
QByteArray WriteLevelCountLine(const std::array<std::int32_t, Levels> &counts);

// A question line: question, four answers (correct first), author index,
// subject index. Field 7 takes every remaining byte, so a seventh separator
// fails as a non-digit. Missing fields read as empty or 0. With `question`
// null the line is only checked: nothing is decoded.
std::optional<BaseFailure> ReadQuestionLine(QByteArrayView line, int lineNo, QABase *question);
// ReadQuestionLine's check, giving the line's fields as views into it instead
// (fields 1 to 6 end at a separator, field 7 is the rest of the line; missing
// ones are empty) and the two indexes (0 where missing).
std::optional<BaseFailure> SplitQuestionLine(QByteArrayView line, int lineNo, std::array<QByteArrayView, 7> *fields,
                                             std::int32_t *authorIndex, std::int32_t *subjectIndex);
// The question of a line that ReadQuestionLine accepts; an empty question for one it refuses.
QABase DecodeQuestionLine(QByteArrayView line);
// Exactly six separators; texts cleaned; negative indexes written as 0.
QByteArray WriteQuestionLine(const QABase &question);

} // namespace BaseFile
