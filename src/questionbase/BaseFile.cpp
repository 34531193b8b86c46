#include "BaseFile.h"

#include "Cp1251.h"

#include <limits>

namespace BaseFile {

namespace {

constexpr std::int32_t MaxNumber = std::numeric_limits<std::int32_t>::max();

// Text fields of line 2 are names (1, 4, 7, 10, 13); the rest are numbers.
constexpr int LeaderFields = 3 * LeaderEntries + 1;

} // namespace

QList<QByteArray> SplitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        if (lf < 0) {
            lines.append(bytes.mid(start));
            break;
        }
        qsizetype end = lf;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.append(bytes.mid(start, end - start));
        start = lf + 1;
    }
    return lines;
}

QList<QByteArray> SplitFields(QByteArrayView line)
{
    QList<QByteArray> fields;
    qsizetype start = 0;
    for (;;) {
        const qsizetype sep = line.indexOf(Separator, start);
        if (sep < 0) {
            fields.append(line.sliced(start).toByteArray());
            return fields;
        }
        fields.append(line.sliced(start, sep - start).toByteArray());
        start = sep + 1;
    }
}

QString DecodeText(QByteArrayView stored)
{
    QString text;
    text.reserve(stored.size());
    for (char byte : stored)
        text.append(Cp1251::DecodeByte(FlipChar(std::uint8_t(byte))));
    return text;
}

QString CleanText(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar ch : text) {
        if (ch.unicode() < 32)
            clean.append(QLatin1Char(' '));
        else if (!Cp1251::CanEncode(ch))
            clean.append(QLatin1Char('?'));
        else
            clean.append(ch);
    }
    return clean;
}

QByteArray EncodeText(const QString &text)
{
    QByteArray stored = Cp1251::Encode(CleanText(text));
    for (char &byte : stored)
        byte = char(FlipChar(std::uint8_t(byte)));
    return stored;
}

std::optional<QString> ParseNumber(QByteArrayView stored, bool plain, std::int32_t *value)
{
    std::int64_t number = 0;
    for (char byte : stored) {
        const std::uint8_t c = plain ? std::uint8_t(byte) : FlipChar(std::uint8_t(byte));
        if (c < '0' || c > '9') {
            return QStringLiteral("stored byte 0x%1 is not a decimal digit")
                .arg(uint(std::uint8_t(byte)), 2, 16, QLatin1Char('0'));
        }
        number = number * 10 + (c - '0');
        if (number > MaxNumber)
            return QStringLiteral("number is larger than 2147483647");
    }
    *value = std::int32_t(number);
    return std::nullopt;
}

QByteArray EncodeNumber(std::int32_t value, bool plain)
{
    QByteArray digits = QByteArray::number(value < 0 ? 0 : value);
    if (!plain) {
        for (char &byte : digits)
            byte = char(FlipChar(std::uint8_t(byte)));
    }
    return digits;
}

QString ReadTitle(QByteArrayView headerLine)
{
    const qsizetype sep = headerLine.indexOf(Separator);
    return DecodeText(sep < 0 ? headerLine : headerLine.first(sep));
}

QByteArray HeaderRest(QByteArrayView headerLine)
{
    const qsizetype sep = headerLine.indexOf(Separator);
    return sep < 0 ? QByteArray() : headerLine.sliced(sep).toByteArray();
}

std::optional<BaseFailure> ReadLeaderLine(QByteArrayView line, std::array<BestTable, LeaderEntries> *leaders,
                                          std::int32_t *gamesPlayed)
{
    std::array<BestTable, LeaderEntries> read{};
    std::int32_t games = 0;
    const QList<QByteArray> fields = SplitFields(line);
    for (int f = 1; f <= LeaderFields && f <= fields.size(); ++f) {
        const QByteArray &field = fields[f - 1];
        if (f == LeaderFields) {
            if (auto reason = ParseNumber(field, false, &games))
                return BaseFailure{LeaderLineNo, f, *reason};
            continue;
        }
        BestTable &entry = read[(f - 1) / 3];
        switch ((f - 1) % 3) {
        case 0:
            entry.Name = DecodeText(field);
            break;
        case 1:
            if (auto reason = ParseNumber(field, false, &entry.Step))
                return BaseFailure{LeaderLineNo, f, *reason};
            break;
        default:
            if (auto reason = ParseNumber(field, false, &entry.Ticks))
                return BaseFailure{LeaderLineNo, f, *reason};
            break;
        }
    }
    *leaders = read;
    *gamesPlayed = games;
    return std::nullopt;
}

QByteArray WriteLeaderLine(const std::array<BestTable, LeaderEntries> &leaders, std::int32_t gamesPlayed)
{
    QByteArray line;
    for (const BestTable &entry : leaders) {
        line += EncodeText(entry.Name);
        line += Separator;
        line += EncodeNumber(entry.Step);
        line += Separator;
        line += EncodeNumber(entry.Ticks);
        line += Separator;
    }
    line += EncodeNumber(gamesPlayed);
    return line;
}

std::optional<BaseFailure> ReadNameLine(QByteArrayView line, int lineNo, std::int32_t *count, QStringList *names)
{
    const QList<QByteArray> fields = SplitFields(line);
    std::int32_t declared = 0;
    if (auto reason = ParseNumber(fields[0], false, &declared))
        return BaseFailure{lineNo, 1, *reason};
    const qsizetype present = fields.size() - 1;
    if (present > declared) {
        return BaseFailure{lineNo, int(declared) + 2,
                           QStringLiteral("the line holds %1 names but its count is %2")
                               .arg(present)
                               .arg(declared)};
    }
    if (declared - present > MaxMissingNames) {
        return BaseFailure{lineNo, 1,
                           QStringLiteral("the count %1 declares more than %2 names the line does not hold")
                               .arg(declared)
                               .arg(MaxMissingNames)};
    }
    QStringList read;
    read.reserve(present);
    for (qsizetype i = 1; i < fields.size(); ++i)
        read.append(DecodeText(fields[i]));
    *count = declared;
    *names = read;
    return std::nullopt;
}

QByteArray WriteNameLine(std::int32_t count, const QStringList &names)
{
    QByteArray line = EncodeNumber(count);
    for (qsizetype i = 0; i < count; ++i) {
        line += Separator;
        if (i < names.size())
            line += EncodeText(names[i]);
    }
    return line;
}

std::optional<BaseFailure> ReadLevelCountLine(QByteArrayView line, std::array<std::int32_t, Levels> *counts)
{
    const QList<QByteArray> fields = SplitFields(line);
    if (fields.size() > Levels) {
        return BaseFailure{LevelCountLineNo, Levels + 1,
                           QStringLiteral("the line holds %1 level counts, at most 15 are allowed")
                               .arg(fields.size())};
    }
    std::array<std::int32_t, Levels> read{};
    for (int f = 0; f < fields.size(); ++f) {
        if (auto reason = ParseNumber(fields[f], true, &read[f]))
            return BaseFailure{LevelCountLineNo, f + 1, *reason};
    }
    *counts = read;
    return std::nullopt;
}

QByteArray WriteLevelCountLine(const std::array<std::int32_t, Levels> &counts)
{
    QByteArray line;
    for (int level = 0; level < Levels; ++level) {
        if (level > 0)
            line += Separator;
        line += EncodeNumber(counts[level], true);
    }
    return line;
}

std::optional<BaseFailure> ReadQuestionLine(QByteArrayView line, int lineNo, QABase *question)
{
    QABase read;
    // Fields 1..6 end at a separator; field 7 is the rest of the line, so a
    // seventh separator lands in it and fails there as a non-digit.
    qsizetype start = 0;
    int field = 1;
    for (; field <= 7 && start <= line.size(); ++field) {
        qsizetype end = field < 7 ? line.indexOf(Separator, start) : -1;
        if (end < 0)
            end = line.size();
        const QByteArrayView bytes = line.sliced(start, end - start);
        if (field == 1) {
            read.Question = DecodeText(bytes);
        } else if (field <= 5) {
            read.Answers[field - 1] = DecodeText(bytes);
        } else {
            std::int32_t *target = field == 6 ? &read.AuthorIndex : &read.SubjectIndex;
            if (auto reason = ParseNumber(bytes, false, target)) {
                if (field == 7 && bytes.contains(char(Separator)))
                    *reason = QStringLiteral("a seventh separator: a question line holds seven fields");
                return BaseFailure{lineNo, field, *reason};
            }
        }
        if (end == line.size())
            break;
        start = end + 1;
    }
    *question = read;
    return std::nullopt;
}

QByteArray WriteQuestionLine(const QABase &question)
{
    QByteArray line = EncodeText(question.Question);
    for (int i = 1; i <= 4; ++i) {
        line += Separator;
        line += EncodeText(question.Answers[i]);
    }
    line += Separator;
    line += EncodeNumber(question.AuthorIndex);
    line += Separator;
    line += EncodeNumber(question.SubjectIndex);
    return line;
}

} // namespace BaseFile
