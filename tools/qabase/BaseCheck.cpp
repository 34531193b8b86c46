#include "BaseCheck.h"

#include "questionbase/BaseFile.h"
#include "questionbase/BaseFileModel.h"

#include "questionbase/Cp1251.h"

#include <QHash>

#include <array>
#include <string>

using namespace BaseFile;

namespace {

const QString QuoteCharacters = QStringLiteral("\"'`«»„“”‘’‚‹›");

// What one stored byte of a text is, for the checks of question lines,
// which work on the stored bytes without decoding them: each byte is one
// character of Windows-1251.
struct ByteClass {
    bool control = false; // the character is below 32
    bool space = false;   // a white-space character
    bool dropped = false; // a quote, left out when texts are compared
    char16_t folded = 0;  // the character as compared (lower case, "ё" as "е")
};

const std::array<ByteClass, 256> &StoredByteClasses()
{
    static const std::array<ByteClass, 256> classes = [] {
        std::array<ByteClass, 256> table{};
        for (int stored = 0; stored < 256; ++stored) {
            const std::uint8_t plain = FlipChar(std::uint8_t(stored));
            const QChar ch = Cp1251::DecodeByte(plain).toLower();
            ByteClass &c = table[stored];
            c.control = plain < 32;
            c.space = ch.isSpace();
            c.dropped = QuoteCharacters.contains(ch);
            c.folded = ch == QChar(u'ё') ? u'е' : ch.unicode();
        }
        return table;
    }();
    return classes;
}

// What the checks need of one stored text, in one pass over its bytes:
// FoldForCompare of it (into `folded`), whether it is blank and whether it
// holds a control character.
struct StoredText {
    bool blank = true;
    bool control = false;
};

StoredText FoldStored(QByteArrayView stored, std::u16string *folded)
{
    const auto &classes = StoredByteClasses();
    folded->resize(size_t(stored.size()));
    char16_t *const start = folded->data();
    char16_t *out = start;
    StoredText text;
    bool pendingSpace = false;
    for (char byte : stored) {
        const ByteClass &c = classes[std::uint8_t(byte)];
        text.control |= c.control;
        if (c.space) {
            pendingSpace = out != start;
            continue;
        }
        text.blank = false;
        if (c.dropped)
            continue;
        if (pendingSpace) {
            *out++ = u' ';
            pendingSpace = false;
        }
        *out++ = c.folded;
    }
    folded->resize(size_t(out - start));
    return text;
}

class Checker {
public:
    explicit Checker(const QByteArray &bytes)
    {
        LineReader reader(bytes);
        QByteArrayView line;
        while (reader.Next(&line))
            m_lines.append(line);
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
        return lineNo <= m_lines.size() ? m_lines[lineNo - 1] : QByteArrayView();
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
        QHash<size_t, int> seen; // hash of a folded question text -> its first line
        seen.reserve(m_lines.size());
        int lineNo = FirstQuestionLineNo;
        for (int level = 0; level < Levels; ++level) {
            for (std::int32_t i = 0; i < m_counts[level]; ++i, ++lineNo) {
                if (lineNo > m_lines.size()) {
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
                checkQuestion(lineNo, &seen);
            }
        }
        const int extra = int(m_lines.size()) - (lineNo - 1);
        if (extra > 0) {
            warning(lineNo, 0,
                    QStringLiteral("%1 line(s) after the last question; the next rewrite drops them").arg(extra));
        }
    }

    void checkQuestion(int lineNo, QHash<size_t, int> *seen)
    {
        const QByteArrayView line = m_lines[lineNo - 1];
        if (auto failure = ReadQuestionLine(line, lineNo, nullptr)) {
            error(failure->Line, failure->Field, failure->Reason);
            return;
        }
        // The line reads, so fields 6 and 7 are numbers; missing fields are empty.
        std::array<QByteArrayView, 7> fields{};
        qsizetype start = 0;
        for (int f = 0; f < 7; ++f) {
            const qsizetype end = f < 6 ? line.indexOf(Separator, start) : -1;
            if (end < 0) {
                fields[f] = line.sliced(start);
                break;
            }
            fields[f] = line.sliced(start, end - start);
            start = end + 1;
        }
        std::int32_t authorIndex = 0;
        std::int32_t subjectIndex = 0;
        ParseNumber(fields[5], false, &authorIndex);
        ParseNumber(fields[6], false, &subjectIndex);

        std::array<bool, 5> blank{};
        for (int f = 0; f < 5; ++f) {
            const QByteArrayView text = fields[f];
            auto what = [f] { return f == 0 ? QStringLiteral("the question") : QStringLiteral("answer %1").arg(f); };
            const StoredText seen = FoldStored(text, &m_folded[f]);
            blank[f] = seen.blank;
            if (seen.blank)
                warning(lineNo, f + 1, QStringLiteral("%1 is empty").arg(what()));
            if (seen.control)
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
                if (!blank[a] && m_folded[a] == m_folded[b])
                    warning(lineNo, a + 1, QStringLiteral("answers %1 and %2 are the same").arg(b).arg(a));
            }
        }
        checkIndex(lineNo, 6, authorIndex, m_authors, QStringLiteral("author"));
        checkIndex(lineNo, 7, subjectIndex, m_subjects, QStringLiteral("subject"));

        if (!m_folded[0].empty()) {
            // Questions are told apart by a hash of their folded text; a
            // line with the same hash is folded again and compared, so a
            // clash of hashes never passes for a repeated question.
            const std::u16string &folded = m_folded[0];
            const size_t hash = qHashBits(folded.data(), folded.size() * sizeof(char16_t));
            const auto found = seen->constFind(hash);
            if (found == seen->constEnd()) {
                seen->insert(hash, lineNo);
                return;
            }
            QList<int> candidates{found.value()};
            candidates += m_clashes.values(hash);
            for (int earlierLine : candidates) {
                if (sameQuestion(earlierLine, folded)) {
                    warning(lineNo, 1, QStringLiteral("the same question as line %1").arg(earlierLine));
                    m_found.last().Related = earlierLine;
                    return;
                }
            }
            m_clashes.insert(hash, lineNo); // another text with the same hash
        }
    }

    bool sameQuestion(int earlierLine, const std::u16string &folded)
    {
        const QByteArrayView earlier = m_lines[earlierLine - 1];
        const qsizetype end = earlier.indexOf(Separator);
        FoldStored(end < 0 ? earlier : earlier.first(end), &m_earlier);
        return m_earlier == folded;
    }

    QList<QByteArrayView> m_lines; // views into the checked bytes
    std::array<std::u16string, 5> m_folded; // the texts of the question line being checked, folded
    std::u16string m_earlier;               // an earlier question, folded again to compare
    QMultiHash<size_t, int> m_clashes;      // first lines of further texts whose hash is taken
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
