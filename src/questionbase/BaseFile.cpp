#include "questionbase/BaseFile.h"

#include "questionbase/Cp1251.h"

#include <bit>
#include <cstring>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace BaseFile {

namespace {

constexpr std::int32_t MaxNumber = std::numeric_limits<std::int32_t>::max();

// Text fields of line 2 are names (1, 4, 7, 10, 13); the rest are numbers.
constexpr int LeaderFields = 3 * LeaderEntries + 1;

} // namespace

bool IsBareFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar ch : name) {
        const char16_t u = ch.unicode();
        if (ch == u'/' || ch == u'\\' || u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F))
            return false;
        if (!Cp1251::CanEncode(ch))
            return false;
    }
    return true;
}

bool LineReader::Next(QByteArrayView *line, qsizetype *offset)
{
    if (m_pos >= m_bytes.size())
        return false;
    const qsizetype start = m_pos;
    const char *begin = m_bytes.data() + start;
    const void *lf = std::memchr(begin, '\n', size_t(m_bytes.size() - start));
    qsizetype end = lf ? qsizetype(static_cast<const char *>(lf) - m_bytes.data()) : m_bytes.size();
    m_pos = lf ? end + 1 : end;
    if (lf && end > start && m_bytes[end - 1] == '\r')
        --end;
    *line = m_bytes.sliced(start, end - start);
    if (offset)
        *offset = start;
    return true;
}

qsizetype LineReader::CountRest() const
{
    if (m_pos >= m_bytes.size())
        return 0;
    const QByteArrayView rest = m_bytes.sliced(m_pos);
    const qsizetype ends = rest.count('\n');
    return rest.endsWith('\n') ? ends : ends + 1;
}

QList<QByteArray> SplitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    LineReader reader(bytes);
    QByteArrayView line;
    while (reader.Next(&line))
        lines.append(line.toByteArray());
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
    QString text(stored.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char byte : stored)
        *out++ = Cp1251::DecodeByte(FlipChar(std::uint8_t(byte)));
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
    *value = 0;
    for (char byte : stored) {
        const std::uint8_t c = plain ? std::uint8_t(byte) : FlipChar(std::uint8_t(byte));
        if (c < '0' || c > '9') {
            return QStringLiteral("stored byte 0x%1 is not a decimal digit")
                .arg(uint(std::uint8_t(byte)), 2, 16, QLatin1Char('0'));
        }
        number = number * 10 + (c - '0');
        if (number > MaxNumber)
            return QStringLiteral("number is larger than 2147483647");
        *value = std::int32_t(number);
    }
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

namespace {

// Field 6 or 7 of a question line; the reason when it is no number.
std::optional<BaseFailure> CheckIndexField(QByteArrayView bytes, int lineNo, int field, std::int32_t *value)
{
    auto reason = ParseNumber(bytes, false, value);
    if (!reason)
        return std::nullopt;
    if (field == 7 && bytes.contains(char(Separator)))
        *reason = QStringLiteral("a seventh separator: a question line holds seven fields");
    return BaseFailure{lineNo, field, *reason};
}

// ReadQuestionLine without a question to fill: the separators are found
// with memchr, and only fields 6 and 7 are read.
std::optional<BaseFailure> CheckQuestionLine(QByteArrayView line, int lineNo)
{
    const char *begin = line.data();
    const char *end = begin + line.size();
    const char *fifth = nullptr;
    const char *at = begin;
    for (int separators = 1; separators <= 5; ++separators) {
        const void *found = at < end ? std::memchr(at, Separator, size_t(end - at)) : nullptr;
        if (!found)
            return std::nullopt; // no field 6 or 7: both read as 0
        fifth = static_cast<const char *>(found);
        at = fifth + 1;
    }
    const void *found = at < end ? std::memchr(at, Separator, size_t(end - at)) : nullptr;
    const char *sixth = found ? static_cast<const char *>(found) : end;
    std::int32_t value = 0;
    if (auto failure = CheckIndexField(QByteArrayView(fifth + 1, sixth), lineNo, 6, &value))
        return failure;
    if (sixth < end)
        return CheckIndexField(QByteArrayView(sixth + 1, end), lineNo, 7, &value);
    return std::nullopt;
}

} // namespace

std::optional<BaseFailure> ReadQuestionLine(QByteArrayView line, int lineNo, QABase *question)
{
    if (!question)
        return CheckQuestionLine(line, lineNo);
    QABase read;
    // Fields 1..6 end at a separator; field 7 is the rest of the line, so a
    // seventh separator lands in it and fails there as a non-digit.
    qsizetype start = 0;
    for (int field = 1; field <= 7; ++field) {
        qsizetype end = field < 7 ? line.indexOf(Separator, start) : -1;
        if (end < 0)
            end = line.size();
        const QByteArrayView bytes = line.sliced(start, end - start);
        if (field <= 5) {
            (field == 1 ? read.Question : read.Answers[field - 1]) = DecodeText(bytes);
        } else {
            std::int32_t *target = field == 6 ? &read.AuthorIndex : &read.SubjectIndex;
            if (auto failure = CheckIndexField(bytes, lineNo, field, target))
                return failure;
        }
        if (end == line.size())
            break;
        start = end + 1;
    }
    *question = read;
    return std::nullopt;
}

std::optional<BaseFailure> SplitQuestionLine(QByteArrayView line, int lineNo, std::array<QByteArrayView, 7> *fields,
                                             std::int32_t *authorIndex, std::int32_t *subjectIndex)
{
    *fields = {};
    *authorIndex = 0;
    *subjectIndex = 0;
    // The places of the first six separators, sixteen bytes at a time: a
    // question line is short, so one look per sixteen bytes beats a search
    // per field.
    std::array<qsizetype, 6> at{};
    int found = 0;
    const char *data = line.data();
    const qsizetype size = line.size();
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i separator = _mm_set1_epi8(Separator);
    for (; i + 16 <= size && found < 6; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, separator)));
        while (mask != 0 && found < 6) {
            at[size_t(found++)] = i + std::countr_zero(mask);
            mask &= mask - 1;
        }
    }
#endif
    for (; i < size && found < 6; ++i) {
        if (data[i] == Separator)
            at[size_t(found++)] = i;
    }
    qsizetype start = 0;
    for (int f = 0; f < found; ++f) {
        (*fields)[size_t(f)] = QByteArrayView(data + start, at[size_t(f)] - start);
        start = at[size_t(f)] + 1;
    }
    (*fields)[size_t(found)] = QByteArrayView(data + start, size - start);
    if (auto failure = CheckIndexField((*fields)[5], lineNo, 6, authorIndex))
        return failure;
    return CheckIndexField((*fields)[6], lineNo, 7, subjectIndex);
}

QABase DecodeQuestionLine(QByteArrayView line)
{
    QABase question;
    if (ReadQuestionLine(line, 0, &question))
        question = QABase();
    return question;
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
