#include "BaseCheck.h"

#include "BaseFile.h"

#include <QHash>

using namespace BaseFile;

namespace {

const QString QuoteCharacters = QStringLiteral("\"'`«»„“”‘’‚‹›");

class Checker {
public:
    explicit Checker(const QByteArray &bytes)
        : m_lines(SplitLines(bytes))
    {
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
    QByteArray lineAt(int lineNo) const { return lineNo <= m_lines.size() ? m_lines[lineNo - 1] : QByteArray(); }

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
            if (m_counts[level] == 0)
                error(LevelCountLineNo, level + 1, QStringLiteral("level %1 holds no questions").arg(level + 1));
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
        QHash<QString, int> seen; // folded question text -> line
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

    void checkQuestion(int lineNo, QHash<QString, int> *seen)
    {
        QABase q;
        if (auto failure = ReadQuestionLine(m_lines[lineNo - 1], lineNo, &q)) {
            error(failure->Line, failure->Field, failure->Reason);
            return;
        }
        const QString texts[5] = {q.Question, q.Answers[1], q.Answers[2], q.Answers[3], q.Answers[4]};
        for (int f = 0; f < 5; ++f) {
            const QString what = f == 0 ? QStringLiteral("the question") : QStringLiteral("answer %1").arg(f);
            if (texts[f].trimmed().isEmpty())
                warning(lineNo, f + 1, QStringLiteral("%1 is empty").arg(what));
            if (HasControlCharacter(texts[f]))
                warning(lineNo, f + 1, QStringLiteral("%1 holds a control character").arg(what));
            const int limit = f == 0 ? LongQuestion : LongAnswer;
            if (texts[f].size() >= limit) {
                warning(lineNo, f + 1,
                        QStringLiteral("%1 is %2 characters long (%3 or more show in the smallest font)")
                            .arg(what)
                            .arg(texts[f].size())
                            .arg(limit));
            }
        }
        for (int a = 2; a <= 4; ++a) {
            for (int b = 1; b < a; ++b) {
                if (!texts[a].trimmed().isEmpty() && FoldForCompare(texts[a]) == FoldForCompare(texts[b]))
                    warning(lineNo, a + 1, QStringLiteral("answers %1 and %2 are the same").arg(b).arg(a));
            }
        }
        checkIndex(lineNo, 6, q.AuthorIndex, m_authors, QStringLiteral("author"));
        checkIndex(lineNo, 7, q.SubjectIndex, m_subjects, QStringLiteral("subject"));

        const QString key = FoldForCompare(q.Question);
        if (!key.isEmpty()) {
            const auto found = seen->constFind(key);
            if (found != seen->constEnd()) {
                warning(lineNo, 1, QStringLiteral("the same question as line %1").arg(found.value()));
                m_found.last().Related = found.value();
            }
            else
                seen->insert(key, lineNo);
        }
    }

    QList<QByteArray> m_lines;
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
