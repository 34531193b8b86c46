#include "BaseCheck.h"

#include "questionbase/BaseFile.h"
#include "questionbase/BaseFileModel.h"

#include "questionbase/Cp1251.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace BaseFile;

namespace {

const QString QuoteCharacters = QStringLiteral("\"'`«»„“”‘’‚‹›");

// What one stored byte of a text is, for the checks of question lines,
// which work on the stored bytes without decoding them: each byte is one
// character of Windows-1251.
enum ByteKind : std::uint8_t {
    Kept = 1,     // a character that stays when texts are compared
    Space = 2,    // a white-space character
    Control = 4,  // the character is below 32
    NotSpace = 8, // anything but white space (a dropped quote as well)
    Odd = 16,     // a quote, or white space other than the plain space
    Rare = 32     // a byte that CoarselyOdd names
};

// The stored form of the plain space.
constexpr std::uint8_t StoredSpace = 0xFF; // FlipChar(' ')

// For every stored byte: its kind, and what it folds to (lower case, "ё" as
// "е") as a byte of its own, one byte per character as compared, so that two
// texts fold to the same bytes exactly when they fold to the same characters.
// That byte is the stored form of the character as compared where
// Windows-1251 has it (so a lower-case letter folds to itself), and every
// space folds to StoredSpace.
struct FoldTables {
    std::array<std::uint8_t, 256> kind{};
    std::array<std::uint8_t, 256> folded{};
    // Whether QuickPlain's coarse test holds for every byte that is a quote,
    // white space other than the plain space, or a control character.
    bool quickTestHolds = true;
    // Whether FoldPlain16 folds every byte that a plain text may hold as
    // `folded` does.
    bool wideFoldHolds = true;
};

// The stored bytes QuickPlain sends to the exact test: controls (below 32),
// the plain characters 80..BF hex (stored 60..9F: the rarer signs, among them
// the typographic quotes, the no-break space and "Ё"), and the stored forms
// of the quotes '"', '\'' and '`'.
constexpr bool CoarselyOdd(std::uint8_t stored)
{
    return stored < 32 || (stored >= 0x60 && stored <= 0x9F) || stored == 0xFD || stored == 0xF8 || stored == 0xBF;
}

// The fold of a byte of a plain text as FoldPlain16 makes it: the stored
// upper-case letters (Cyrillic А to Я at 40..5F hex, Latin A to Z at C5..DE)
// become their lower-case forms, 20 hex lower; every other byte stays.
constexpr std::uint8_t FoldPlainByte(std::uint8_t stored)
{
    return (stored >= 0x40 && stored <= 0x5F) || (stored >= 0xC5 && stored <= 0xDE) ? std::uint8_t(stored - 0x20)
                                                                                       : stored;
}

#ifdef __SSE2__
// FoldPlainByte of sixteen bytes at once.
inline __m128i FoldPlain16(__m128i x)
{
    auto within = [x](int from, int to) {
        return _mm_cmpeq_epi8(_mm_max_epu8(_mm_min_epu8(x, _mm_set1_epi8(char(to))), _mm_set1_epi8(char(from))), x);
    };
    const __m128i upper = _mm_or_si128(within(0x40, 0x5F), within(0xC5, 0xDE));
    return _mm_sub_epi8(x, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}
#endif

const FoldTables &StoredFoldTables()
{
    static const FoldTables tables = [] {
        std::array<char16_t, 256> compared{}; // plain byte -> the character it is compared as
        for (int plain = 0; plain < 256; ++plain) {
            const QChar ch = Cp1251::DecodeByte(std::uint8_t(plain)).toLower();
            compared[plain] = ch == QChar(u'ё') ? u'е' : ch.unicode();
        }
        FoldTables t;
        for (int stored = 0; stored < 256; ++stored) {
            const std::uint8_t plain = FlipChar(std::uint8_t(stored));
            const QChar ch = Cp1251::DecodeByte(plain).toLower();
            std::uint8_t kind = plain < 32 ? Control : 0;
            if (ch.isSpace()) {
                kind |= Space;
                if (plain != ' ')
                    kind |= Odd;
                t.folded[stored] = StoredSpace;
            } else {
                kind |= NotSpace;
                if (QuoteCharacters.contains(ch))
                    kind |= Odd;
                else
                    kind |= Kept;
                // The plain byte that is the character as compared names it,
                // or else the first plain byte compared as that character.
                int name = 0;
                while (name < 256 && Cp1251::DecodeByte(std::uint8_t(name)).unicode() != compared[plain])
                    ++name;
                if (name == 256) {
                    name = 0;
                    while (compared[name] != compared[plain])
                        ++name;
                }
                t.folded[stored] = FlipChar(std::uint8_t(name));
            }
            if (CoarselyOdd(std::uint8_t(stored)))
                kind |= Rare;
            t.kind[stored] = kind;
            if ((kind & (Odd | Control)) && !CoarselyOdd(std::uint8_t(stored)))
                t.quickTestHolds = false;
        }
        for (int stored = 0; stored < 256; ++stored) {
            if (!CoarselyOdd(std::uint8_t(stored)) && FoldPlainByte(std::uint8_t(stored)) != t.folded[stored])
                t.wideFoldHolds = false;
        }
        return t;
    }();
    return tables;
}

// FoldForCompare of a stored text, as folded bytes at `out` (room for one
// byte more than the text); gives their number.
qsizetype FoldStored(QByteArrayView stored, std::uint8_t *out)
{
    const FoldTables &t = StoredFoldTables();
    // Without branches on the bytes: every byte's fold is written, and the
    // end moves on for a kept character, and for a space only after a kept
    // character (so runs of spaces become one, and none leads). `afterSpace`
    // says whether the last byte kept was a space, or none was kept yet.
    qsizetype n = 0;
    unsigned afterSpace = 1;
    for (char ch : stored) {
        const std::uint8_t byte = std::uint8_t(ch);
        const unsigned kind = t.kind[byte];
        out[n] = t.folded[byte];
        const unsigned kept = kind & Kept;
        const unsigned space = (kind >> 1) & 1;
        n += kept | (space & ~afterSpace & 1);
        afterSpace = kept ? 0 : (space ? 1 : afterSpace);
    }
    if (n > 0 && out[n - 1] == StoredSpace)
        --n; // a space that no kept character followed
    return n;
}

// A quicker look at a stored text, for the usual case: when it holds no byte
// that CoarselyOdd names (so no quote, no control and none of the rarer
// signs), no white space but single plain spaces between characters, and
// none at either end, its fold is its bytes mapped one by one (written to
// `out` when given), sixteen at a time where FoldPlain16 holds, and `plain`
// is true. Otherwise FoldStored must fold it.
struct StoredScan {
    bool plain = false;
    bool blank = true;
    bool control = false;
};

template<bool Write>
StoredScan ScanStored(QByteArrayView stored, std::uint8_t *out)
{
    const FoldTables &t = StoredFoldTables();
    unsigned seen = 0;
    unsigned twoSpaces = 0;
    unsigned lastSpace = 1; // a space at the start counts as a second one
    const qsizetype size = stored.size();
    const char *data = stored.data();
    for (qsizetype i = 0; i < size; ++i) {
        const std::uint8_t byte = std::uint8_t(data[i]);
        const unsigned kind = t.kind[byte];
        seen |= kind;
        if constexpr (Write)
            out[i] = t.folded[byte];
        const unsigned space = (kind >> 1) & 1;
        twoSpaces |= lastSpace & space;
        lastSpace = space;
    }
    StoredScan scan;
    scan.plain = size > 0 && !(seen & (Odd | Rare)) && !twoSpaces && !lastSpace;
    scan.blank = !(seen & NotSpace);
    scan.control = seen & Control;
    return scan;
}

// The fold of a plain text: its bytes mapped one by one.
void MapStored(QByteArrayView stored, std::uint8_t *out)
{
    const FoldTables &t = StoredFoldTables();
    const auto *data = reinterpret_cast<const std::uint8_t *>(stored.data());
    qsizetype i = 0;
#ifdef __SSE2__
    if (t.wideFoldHolds) {
        for (; i + 16 <= stored.size(); i += 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), FoldPlain16(x));
        }
    }
#endif
    for (; i < stored.size(); ++i)
        out[i] = t.folded[data[i]];
}

#ifdef __SSE2__
// Of sixteen stored bytes, those below 32 (control characters and the
// separator) and those CoarselyOdd names for any other reason (the rare
// signs from 0x60 to 0x9F, the quote, the apostrophe and the backtick), each
// as a byte of all ones.
__m128i LowBytes(__m128i x)
{
    return _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(31)), x);
}

__m128i RareBytes(__m128i x)
{
    const __m128i rare = _mm_cmpeq_epi8(_mm_max_epu8(_mm_min_epu8(x, _mm_set1_epi8(char(0x9F))), _mm_set1_epi8(char(0x60))), x);
    const __m128i marks = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(char(0xFD))),
                                       _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(char(0xF8))),
                                                    _mm_cmpeq_epi8(x, _mm_set1_epi8(char(0xBF)))));
    return _mm_or_si128(rare, marks);
}
#endif

// True when the stored text is surely plain (see ScanStored), found sixteen
// bytes at a time: not empty, no byte that CoarselyOdd names, no space at
// either end and no two spaces in a row. False says nothing; ScanStored
// then decides.
bool QuickPlain(QByteArrayView stored)
{
#ifdef __SSE2__
    const qsizetype size = stored.size();
    const auto *data = reinterpret_cast<const std::uint8_t *>(stored.data());
    if (size == 0 || data[0] == StoredSpace || data[size - 1] == StoredSpace)
        return false;
    const __m128i space = _mm_set1_epi8(char(StoredSpace));
    unsigned carry = 0; // whether the previous chunk ended with a space
    qsizetype i = 0;
    for (; i + 16 <= size; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        if (_mm_movemask_epi8(_mm_or_si128(LowBytes(x), RareBytes(x))) != 0)
            return false;
        const unsigned spaces = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, space)));
        if ((spaces & (spaces >> 1)) != 0 || (carry & spaces & 1) != 0)
            return false;
        carry = spaces >> 15;
    }
    for (; i < size; ++i) {
        const std::uint8_t byte = data[i];
        if (CoarselyOdd(byte))
            return false;
        const unsigned isSpace = byte == StoredSpace;
        if (carry & isSpace)
            return false;
        carry = isSpace;
    }
    return true;
#else
    Q_UNUSED(stored);
    return false;
#endif
}

// QuickPlain of all five texts of a question line at once, for the usual
// line: they stand one after another, separated by single separators, from
// the first byte of the question to the last of answer 4. All five are
// plain when no byte there is one CoarselyOdd names (separators aside) and
// no two spaces or separators stand side by side, nor a space or separator
// at either end: that also rules out an empty text, and a space at the
// start or end of one. Memory up to `readable` may be read. False says
// nothing about any one text.
bool QuickPlainLine(const char *begin, qsizetype size, const char *readable)
{
#ifdef __SSE2__
    const auto *data = reinterpret_cast<const std::uint8_t *>(begin);
    const __m128i space = _mm_set1_epi8(char(StoredSpace));
    const __m128i separator = _mm_set1_epi8(Separator);
    unsigned carry = 1; // the start counts as a separator
    unsigned last = 1;
    auto plainChunk = [&](__m128i x, unsigned valid) {
        const __m128i sep = _mm_cmpeq_epi8(x, separator);
        const __m128i odd = _mm_or_si128(_mm_andnot_si128(sep, LowBytes(x)), RareBytes(x));
        if ((unsigned(_mm_movemask_epi8(odd)) & valid) != 0)
            return false;
        const unsigned gaps = unsigned(_mm_movemask_epi8(_mm_or_si128(sep, _mm_cmpeq_epi8(x, space)))) & valid;
        if ((gaps & (gaps >> 1)) != 0 || (carry & gaps & 1) != 0)
            return false;
        const int top = 31 - std::countl_zero(valid); // the last byte looked at
        carry = (gaps >> top) & 1;
        last = carry;
        return true;
    };
    qsizetype i = 0;
    for (; i + 16 <= size; i += 16) {
        if (!plainChunk(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i)), 0xFFFF))
            return false;
    }
    if (i < size) {
        if (begin + i + 16 > readable)
            return false; // the file's last line: left to the exact test
        if (!plainChunk(_mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i)), (1u << (size - i)) - 1))
            return false;
    }
    return size > 0 && last == 0;
#else
    Q_UNUSED(begin);
    Q_UNUSED(size);
    Q_UNUSED(readable);
    return false;
#endif
}

// The scan of a text that QuickPlain found plain, without looking again.
StoredScan PlainScan()
{
    StoredScan scan;
    scan.plain = true;
    scan.blank = false;
    return scan;
}

// Whether two plain texts (see ScanStored) fold to the same bytes.
bool SamePlainFold(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    const FoldTables &t = StoredFoldTables();
    qsizetype i = 0;
#ifdef __SSE2__
    if (t.wideFoldHolds) {
        for (; i + 16 <= a.size(); i += 16) {
            const __m128i x = FoldPlain16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(a.data() + i)));
            const __m128i y = FoldPlain16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(b.data() + i)));
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) != 0xFFFF)
                return false;
        }
    }
#endif
    for (; i < a.size(); ++i) {
        if (a[i] != b[i] && t.folded[std::uint8_t(a[i])] != t.folded[std::uint8_t(b[i])])
            return false;
    }
    return true;
}

// The first line of every question text seen so far, found by a hash of its
// folded text: open addressing over 64-bit hashes, so a base of any size
// costs two flat arrays and no allocation per question. Each slot keeps the
// upper half of its hash beside the entry's number, so a probe reads one
// slot and touches an entry only when that half agrees. Texts with the same
// hash are compared by the caller, so a clash of hashes never passes for a
// repeated question.
class QuestionTable {
public:
    struct Entry {
        std::uint64_t hash = 0;
        QByteArrayView stored; // the question's stored bytes
        int line = 0;
    };

    explicit QuestionTable(std::int64_t expected)
    {
        size_t capacity = 16;
        while (std::int64_t(capacity) < 2 * expected && capacity < (size_t(1) << 28))
            capacity *= 2;
        m_slots.assign(capacity, 0);
        m_entries.reserve(capacity / 2);
    }

    // Asks for the slot of `hash` ahead of findOrAdd, so that the memory is
    // on its way while other work is done.
    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&m_slots[size_t(hash) & (m_slots.size() - 1)]); }

    // Calls `same(entry)` for each earlier text with this hash until it says
    // true, and returns that entry; otherwise adds the text and returns null.
    template<typename Same>
    const Entry *findOrAdd(std::uint64_t hash, QByteArrayView stored, int line, Same same)
    {
        const size_t mask = m_slots.size() - 1;
        const std::uint64_t tag = hash >> 32;
        size_t slot = size_t(hash) & mask;
        for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
            if (m_slots[slot] >> 32 != tag)
                continue;
            const Entry &e = m_entries[size_t(std::uint32_t(m_slots[slot])) - 1];
            if (e.hash == hash && same(e))
                return &e;
        }
        m_entries.push_back({hash, stored, line});
        m_slots[slot] = tag << 32 | m_entries.size();
        if (2 * m_entries.size() > m_slots.size())
            grow();
        return nullptr;
    }

private:
    void grow()
    {
        std::vector<std::uint64_t> wider(m_slots.size() * 2, 0);
        const size_t mask = wider.size() - 1;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            size_t slot = size_t(m_entries[i].hash) & mask;
            while (wider[slot] != 0)
                slot = (slot + 1) & mask;
            wider[slot] = (m_entries[i].hash >> 32) << 32 | (i + 1);
        }
        m_slots.swap(wider);
    }

    std::vector<std::uint64_t> m_slots; // upper half of the hash, entry number (from 1); 0 is empty
    std::vector<Entry> m_entries;
};

class Checker {
public:
    explicit Checker(const QByteArray &bytes)
        : m_reader(bytes), m_bytes(bytes.size()), m_readable(bytes.constData() + bytes.size())
    {
        // Lines 1 to 5 are kept; the question lines are read one by one.
        for (QByteArrayView &line : m_head) {
            if (!m_reader.Next(&line))
                break;
        }
    }

    QList<Diagnostic> run()
    {
        checkTitle();
        checkLeaders();
        m_authors = checkNames(AuthorLineNo, QStringLiteral("author"));
        m_subjects = checkNames(SubjectLineNo, QStringLiteral("subject"));
        checkCounts();
        checkQuestions();
        return m_found;
    }

private:
    QByteArrayView lineAt(int lineNo) const
    {
        return m_head[size_t(lineNo - 1)];
    }

    void error(int line, int field, const QString &message) { m_found.append({true, line, field, message}); }
    void warning(int line, int field, const QString &message) { m_found.append({false, line, field, message}); }

    void checkTitle()
    {
        const QString title = ReadTitle(lineAt(HeaderLineNo));
        if (title.trimmed().isEmpty())
            warning(HeaderLineNo, 1, QStringLiteral("the title is empty"));
        if (HasControlCharacter(title))
            warning(HeaderLineNo, 1, QStringLiteral("the title holds a control character"));
    }

    void checkLeaders()
    {
        std::array<BestTable, LeaderEntries> leaders{};
        std::int32_t games = 0;
        if (auto failure = ReadLeaderLine(lineAt(LeaderLineNo), &leaders, &games)) {
            error(failure->Line, failure->Field, failure->Reason);
            return;
        }
        for (int i = 0; i < LeaderEntries; ++i) {
            if (HasControlCharacter(leaders[i].Name))
                warning(LeaderLineNo, 3 * i + 1, QStringLiteral("the name holds a control character"));
        }
    }

    // The number of names a question's index may point to.
    int checkNames(int lineNo, const QString &kind)
    {
        const QList<QByteArray> fields = SplitFields(lineAt(lineNo));
        std::int32_t count = 0;
        if (auto reason = ParseNumber(fields[0], false, &count)) {
            error(lineNo, 1, *reason);
            return int(fields.size() - 1);
        }
        const int present = int(fields.size() - 1);
        if (present > count) {
            error(lineNo, count + 2,
                  QStringLiteral("the line holds %1 %2 names but its count is %3").arg(present).arg(kind).arg(count));
        } else if (present < count) {
            warning(lineNo, 0,
                    QStringLiteral("the count is %1 but only %2 %3 names follow; the others show as empty")
                        .arg(count)
                        .arg(present)
                        .arg(kind));
        }
        for (int f = 1; f < fields.size(); ++f) {
            const QString name = DecodeText(fields[f]);
            if (HasControlCharacter(name))
                warning(lineNo, f + 1, QStringLiteral("the %1 name holds a control character").arg(kind));
            else if (name.trimmed().isEmpty())
                warning(lineNo, f + 1, QStringLiteral("%1 %2 has an empty name").arg(kind).arg(f));
        }
        return present;
    }

    void checkCounts()
    {
        const QList<QByteArray> fields = SplitFields(lineAt(LevelCountLineNo));
        if (fields.size() > Levels) {
            error(LevelCountLineNo, Levels + 1,
                  QStringLiteral("the line holds %1 level counts, at most 15 are allowed (a trailing separator "
                                 "counts as one more)")
                      .arg(fields.size()));
        }
        for (int f = 0; f < Levels && f < fields.size(); ++f) {
            if (auto reason = ParseNumber(fields[f], true, &m_counts[f]))
                error(LevelCountLineNo, f + 1, *reason);
        }
        for (int level = 0; level < Levels; ++level) {
            if (m_counts[level] <= 0) {
                const BaseFailure empty = EmptyLevelFailure(level + 1);
                error(empty.Line, empty.Field, empty.Reason);
            }
        }
    }

    void checkIndex(int lineNo, int field, std::int32_t index, int tableSize, const QString &kind)
    {
        if (index > tableSize) {
            warning(lineNo, field,
                    QStringLiteral("%1 index %2 is beyond the %1 table (%3 names); shown as none")
                        .arg(kind)
                        .arg(index)
                        .arg(tableSize));
        }
    }

    void checkQuestions()
    {
        // Room for the questions counted, as far as the file can hold them
        // (a question line takes at least a dozen bytes); grown if need be.
        std::int64_t counted = 0;
        for (std::int32_t count : m_counts)
            counted += std::max(count, 0);
        QuestionTable seen(std::min<std::int64_t>(counted, m_bytes / 12));
        int lineNo = FirstQuestionLineNo;
        for (int level = 0; level < Levels; ++level) {
            for (std::int32_t i = 0; i < m_counts[level]; ++i, ++lineNo) {
                QByteArrayView line;
                if (!m_reader.Next(&line)) {
                    lookUpPending(&seen);
                    std::int64_t missing = std::int64_t(m_counts[level]) - i;
                    for (int later = level + 1; later < Levels; ++later)
                        missing += m_counts[later];
                    error(lineNo, 0,
                          QStringLiteral("the file ends here, but the counts call for %1 more question lines "
                                         "(level %2 has %3 of %4)")
                              .arg(missing)
                              .arg(level + 1)
                              .arg(i)
                              .arg(m_counts[level]));
                    return;
                }
                checkQuestion(line, lineNo, &seen);
            }
        }
        lookUpPending(&seen);
        const qsizetype extra = m_reader.CountRest();
        if (extra > 0) {
            warning(lineNo, 0,
                    QStringLiteral("%1 line(s) after the last question; the next rewrite drops them").arg(extra));
        }
    }

    void checkQuestion(QByteArrayView line, int lineNo, QuestionTable *seen)
    {
        std::array<QByteArrayView, 7> fields{};
        std::int32_t authorIndex = 0;
        std::int32_t subjectIndex = 0;
        if (auto failure = SplitQuestionLine(line, lineNo, &fields, &authorIndex, &subjectIndex)) {
            lookUpPending(seen);
            error(failure->Line, failure->Field, failure->Reason);
            return;
        }
        // The question is folded and hashed first, and its slot in the table
        // of questions asked for; the previous line's question is looked up
        // then, its slot fetched meanwhile; this line's is looked up after
        // the next line's question is folded. Findings keep their order: the
        // previous line's comes before any of this line's.
        std::vector<std::uint8_t> &folding = m_folded[m_pending.line == 0 || m_pending.buffer == 1 ? 0 : 1];
        if (folding.size() < size_t(line.size()) + 1)
            folding.resize(size_t(line.size()) + 1);
        const bool quick = StoredFoldTables().quickTestHolds;
        const qsizetype texts = fields[4].data() + fields[4].size() - fields[0].data();
        const bool allPlain = quick && QuickPlainLine(fields[0].data(), texts, m_readable);
        std::array<StoredScan, 5> scans{};
        if (allPlain || (quick && QuickPlain(fields[0]))) {
            scans[0] = PlainScan();
            MapStored(fields[0], folding.data());
        } else {
            scans[0] = ScanStored<true>(fields[0], folding.data());
        }
        qsizetype questionSize = fields[0].size();
        if (!scans[0].plain)
            questionSize = FoldStored(fields[0], folding.data());
        const QByteArrayView question(folding.data(), questionSize);
        const std::uint64_t hash = qHashBits(question.data(), size_t(question.size()));
        if (questionSize > 0)
            seen->prefetch(hash);
        lookUpPending(seen);
        for (int f = 1; f < 5; ++f)
            scans[f] = allPlain || (quick && QuickPlain(fields[f])) ? PlainScan() : ScanStored<false>(fields[f], nullptr);

        for (int f = 0; f < 5; ++f) {
            const QByteArrayView text = fields[f];
            auto what = [f] { return f == 0 ? QStringLiteral("the question") : QStringLiteral("answer %1").arg(f); };
            if (scans[f].blank)
                warning(lineNo, f + 1, QStringLiteral("%1 is empty").arg(what()));
            if (scans[f].control)
                warning(lineNo, f + 1, QStringLiteral("%1 holds a control character").arg(what()));
            const int limit = f == 0 ? LongQuestion : LongAnswer;
            if (text.size() >= limit) {
                warning(lineNo, f + 1,
                        QStringLiteral("%1 is %2 characters long (%3 or more show in the smallest font)")
                            .arg(what())
                            .arg(text.size())
                            .arg(limit));
            }
        }
        for (int a = 2; a <= 4; ++a) {
            for (int b = 1; b < a; ++b) {
                if (!scans[a].blank && sameAnswer(fields[a], scans[a], fields[b], scans[b]))
                    warning(lineNo, a + 1, QStringLiteral("answers %1 and %2 are the same").arg(b).arg(a));
            }
        }
        checkIndex(lineNo, 6, authorIndex, m_authors, QStringLiteral("author"));
        checkIndex(lineNo, 7, subjectIndex, m_subjects, QStringLiteral("subject"));

        if (questionSize > 0)
            m_pending = {hash, fields[0], question, lineNo, &folding == &m_folded[0] ? 0 : 1};
    }

    // The same question as an earlier line, for the question left to look up.
    void lookUpPending(QuestionTable *seen)
    {
        if (m_pending.line == 0)
            return;
        const Pending p = m_pending;
        m_pending = {};
        const auto sameText = [&](const QuestionTable::Entry &earlier) { return foldedEqual(earlier.stored, p.folded); };
        if (const QuestionTable::Entry *earlier = seen->findOrAdd(p.hash, p.stored, p.line, sameText)) {
            warning(p.line, 1, QStringLiteral("the same question as line %1").arg(earlier->line));
            m_found.last().Related = earlier->line;
        }
    }

    bool sameAnswer(QByteArrayView a, const StoredScan &scanA, QByteArrayView b, const StoredScan &scanB)
    {
        if (scanA.plain && scanB.plain)
            return SamePlainFold(a, b);
        if (m_other.size() < size_t(b.size()) + 1)
            m_other.resize(size_t(b.size()) + 1);
        const qsizetype folded = FoldStored(b, m_other.data());
        return foldedEqual(a, QByteArrayView(m_other.data(), folded));
    }

    // Whether the stored text folds to `folded`.
    bool foldedEqual(QByteArrayView stored, QByteArrayView folded)
    {
        if (m_earlier.size() < size_t(stored.size()) + 1)
            m_earlier.resize(size_t(stored.size()) + 1);
        const qsizetype size = FoldStored(stored, m_earlier.data());
        return size == folded.size() && std::memcmp(m_earlier.data(), folded.data(), size_t(size)) == 0;
    }

    LineReader m_reader;
    qsizetype m_bytes = 0;
    const char *m_readable = nullptr; // the end of the checked bytes
    std::array<QByteArrayView, FirstQuestionLineNo - 1> m_head{}; // lines 1 to 5
    // A question folded and hashed, not yet looked up in the table.
    struct Pending {
        std::uint64_t hash = 0;
        QByteArrayView stored;
        QByteArrayView folded; // in m_folded[buffer]
        int line = 0;          // 0: none
        int buffer = 0;
    };
    Pending m_pending;
    std::array<std::vector<std::uint8_t>, 2> m_folded; // the questions of this line and the pending one, folded
    std::vector<std::uint8_t> m_other;   // a text folded to compare with
    std::vector<std::uint8_t> m_earlier; // another text folded to compare with
    QList<Diagnostic> m_found;
    int m_authors = 0;
    int m_subjects = 0;
    std::array<std::int32_t, Levels> m_counts{};
};

} // namespace

QList<Diagnostic> CheckBaseBytes(const QByteArray &bytes)
{
    return Checker(bytes).run();
}

QString FoldForCompare(const QString &text)
{
    QString folded;
    folded.reserve(text.size());
    bool pendingSpace = false;
    for (QChar ch : text.toLower()) {
        if (QuoteCharacters.contains(ch))
            continue;
        if (ch.isSpace()) {
            pendingSpace = !folded.isEmpty();
            continue;
        }
        if (pendingSpace) {
            folded.append(QLatin1Char(' '));
            pendingSpace = false;
        }
        folded.append(ch == QChar(u'ё') ? QChar(u'е') : ch);
    }
    return folded;
}

bool HasControlCharacter(const QString &text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 32)
            return true;
    }
    return false;
}
