#include "BaseLint.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

namespace {

// Inflection endings, longest first so that the longest one that fits is taken.
const QStringList Endings = {
    QStringLiteral("иями"), QStringLiteral("ями"), QStringLiteral("ами"), QStringLiteral("иях"),
    QStringLiteral("ого"),  QStringLiteral("его"), QStringLiteral("ому"), QStringLiteral("ему"),
    QStringLiteral("ыми"),  QStringLiteral("ими"), QStringLiteral("ях"),  QStringLiteral("ах"),
    QStringLiteral("ая"),   QStringLiteral("яя"),  QStringLiteral("ое"),  QStringLiteral("ее"),
    QStringLiteral("ие"),   QStringLiteral("ые"),  QStringLiteral("ой"),  QStringLiteral("ей"),
    QStringLiteral("ий"),   QStringLiteral("ый"),  QStringLiteral("ую"),  QStringLiteral("юю"),
    QStringLiteral("ом"),   QStringLiteral("ем"),  QStringLiteral("ам"),  QStringLiteral("ям"),
    QStringLiteral("ов"),   QStringLiteral("ев"),  QStringLiteral("ью"),  QStringLiteral("ия"),
    QStringLiteral("ию"),   QStringLiteral("ии"),  QStringLiteral("ет"),  QStringLiteral("ют"),
    QStringLiteral("ут"),   QStringLiteral("ит"),  QStringLiteral("ят"),  QStringLiteral("ат"),
    QStringLiteral("а"),    QStringLiteral("я"),   QStringLiteral("о"),   QStringLiteral("е"),
    QStringLiteral("и"),    QStringLiteral("ы"),   QStringLiteral("у"),   QStringLiteral("ю"),
    QStringLiteral("ь"),    QStringLiteral("й"),
};

// Words too common in questions to tell two of them apart.
const QSet<QString> &CommonWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char *w : {"называется", "называют", "называли", "назывался", "называлась", "называлось",
                              "назывались", "звали", "который", "которая", "которое", "которые", "которого",
                              "которой", "котором", "которую", "которым", "самый", "самая", "самое", "самые",
                              "самой", "самого", "самым", "этих", "этот", "эта", "это", "этого", "этой", "этом",
                              "была", "были", "было", "году", "года", "годах", "годов", "какой", "какая", "какое",
                              "какие", "каком", "какую", "каких", "какого", "какому", "сколько", "чтобы", "также",
                              "всего", "более", "менее", "может", "можно", "свой", "своей", "своего", "своих",
                              "стал", "стала", "стали", "стало", "один", "одна", "одно", "одной", "одного",
                              "одним", "из", "этим", "такое", "такой", "чьей", "чьего", "чьих", "после", "перед",
                              "среди", "между", "через", "назван", "названа", "названо", "назвали", "носит",
                              "носил", "носила", "есть", "нет"})
            set.insert(QString::fromUtf8(w));
        return set;
    }();
    return words;
}

const QSet<QString> &Prepositions()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char *w : {"в", "во", "на", "из", "изо", "с", "со", "по", "к", "ко", "от", "до", "у", "о", "об",
                              "обо", "при", "за", "под", "над", "для", "без", "через", "про"})
            set.insert(QString::fromUtf8(w));
        return set;
    }();
    return words;
}

QString Fold(const QString &word)
{
    QString folded = word.toLower();
    folded.replace(QChar(u'ё'), QChar(u'е'));
    return folded;
}

// The words of a text: runs of letters (a hyphen inside a word keeps it whole).
QStringList Words(const QString &text)
{
    QStringList words;
    QString word;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const bool inner = ch == QLatin1Char('-') && !word.isEmpty() && i + 1 < text.size() && text[i + 1].isLetter();
        if (ch.isLetter() || inner) {
            word += ch;
        } else if (!word.isEmpty()) {
            words << Fold(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << Fold(word);
    return words;
}

// The answer as the player reads it, split at spaces; a lone dash is no word.
QStringList Tokens(const QString &text)
{
    // "Во Франции" begins as "В Италии" does.
    static const QHash<QString, QString> sameAs = {{QStringLiteral("во"), QStringLiteral("в")},
                                                   {QStringLiteral("со"), QStringLiteral("с")},
                                                   {QStringLiteral("ко"), QStringLiteral("к")},
                                                   {QStringLiteral("изо"), QStringLiteral("из")},
                                                   {QStringLiteral("об"), QStringLiteral("о")},
                                                   {QStringLiteral("обо"), QStringLiteral("о")}};
    QStringList tokens;
    for (const QString &t : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (t != QStringLiteral("—") && t != QStringLiteral("–") && t != QStringLiteral("-")) {
            const QString folded = Fold(t);
            tokens << sameAs.value(folded, folded);
        }
    }
    return tokens;
}

// Small words that do not lengthen an answer: particles of names and
// prepositions.
const QSet<QString> &Particles()
{
    static const QSet<QString> words = [] {
        QSet<QString> set = Prepositions();
        for (const char *w : {"да", "де", "ди", "дю", "ван", "фон", "дер", "ле", "ла", "эль", "аль", "ибн", "бен",
                              "оф", "и"})
            set.insert(QString::fromUtf8(w));
        return set;
    }();
    return words;
}

// The words an answer is measured by: particles do not count, so "Леонардо да
// Винчи" measures as a name of two and "Из ржи" as one word.
int WordCount(const QString &text)
{
    int count = 0;
    for (const QString &t : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (t == QStringLiteral("—") || t == QStringLiteral("–") || t == QStringLiteral("-"))
            continue;
        if (Particles().contains(t))
            continue;
        ++count;
    }
    return count;
}

bool HasDigit(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.isDigit(); });
}

// An answer that is a number, in digits or in words.
bool IsNumber(const QString &answer)
{
    static const QSet<QString> numbers = [] {
        QSet<QString> set;
        for (const char *w : {"ноль", "один", "одна", "одно", "два", "две", "три", "четыре", "пять", "шесть", "семь",
                              "восемь", "девять", "десять", "одиннадцать", "двенадцать", "тринадцать",
                              "четырнадцать", "пятнадцать", "двадцать", "тридцать", "сорок", "пятьдесят", "сто"})
            set.insert(QString::fromUtf8(w));
        return set;
    }();
    const QStringList words = Words(answer);
    return std::all_of(words.begin(), words.end(), [](const QString &w) { return numbers.contains(w); })
           && (!words.isEmpty() || HasDigit(answer));
}

bool StartsWithPreposition(const QStringList &tokens)
{
    return !tokens.isEmpty() && Prepositions().contains(tokens[0]);
}

// Answers that are numbers or titles in quotes keep their own form.
bool FreeForm(const QString &answer)
{
    const QString t = answer.trimmed();
    return t.isEmpty() || HasDigit(t) || t.startsWith(QChar(u'«')) || t.startsWith(QLatin1Char('"'));
}

// The stems by which two questions are compared.
QSet<QString> QuestionStems(const QString &question)
{
    QSet<QString> stems;
    for (const QString &w : Words(question)) {
        if (w.size() < 4 || CommonWords().contains(w))
            continue;
        const QString stem = RussianStem(w);
        if (stem.size() >= 4)
            stems.insert(stem);
    }
    return stems;
}

// SameRoot of two words by their stems (RussianStem of each).
bool SameStemRoot(const QString &sa, const QString &sb)
{
    if (sa.size() < 4 || sb.size() < 4)
        return false;
    if (sa == sb)
        return true;
    return sa.size() >= 5 && sb.size() >= 5 && QStringView(sa).left(5) == QStringView(sb).left(5);
}

// The words of a text with the stem of each beside it, each stem taken once.
struct StemmedWords {
    QStringList words;
    QStringList stems;
};

StemmedWords Stemmed(const QString &text)
{
    StemmedWords stemmed;
    stemmed.words = Words(text);
    stemmed.stems.reserve(stemmed.words.size());
    for (const QString &w : stemmed.words)
        stemmed.stems << RussianStem(w);
    return stemmed;
}

bool SharesRootWith(const QStringList &stemsA, const QStringList &stemsB)
{
    for (const QString &x : stemsA) {
        for (const QString &y : stemsB) {
            if (SameStemRoot(x, y))
                return true;
        }
    }
    return false;
}

struct Entry {
    int Line = 0;
    QSet<QString> Stems;
    QStringList AnswerSet;
    QString Right;
    bool RightIsNumber = false;
    bool Numeric = false;
};

class Linter {
public:
    QList<Diagnostic> run(const std::array<QList<QABase>, BaseFile::Levels> &levels,
                          const std::array<QList<int>, BaseFile::Levels> &lines)
    {
        QList<Entry> entries;
        for (int level = 0; level < BaseFile::Levels; ++level) {
            QHash<QString, int> rightAnswers; // folded right answer -> line
            for (qsizetype i = 0; i < levels[level].size(); ++i) {
                const QABase &q = levels[level][i];
                const int line = i < lines[level].size() ? lines[level][i] : 0;
                checkRoot(line, q);
                checkForm(line, q);
                const QString right = FoldForCompare(q.Answers[1]);
                if (!right.isEmpty() && !IsNumber(q.Answers[1])) {
                    const auto found = rightAnswers.constFind(right);
                    if (found != rightAnswers.constEnd())
                        warn(line, 2,
                             QStringLiteral("the same right answer as line %1 on this level").arg(found.value()));
                    else
                        rightAnswers.insert(right, line);
                }
                Entry e;
                e.Line = line;
                e.Stems = QuestionStems(q.Question);
                for (int a = 1; a <= 4; ++a)
                    e.AnswerSet << FoldForCompare(q.Answers[a]);
                e.AnswerSet.sort();
                e.Right = right;
                e.RightIsNumber = IsNumber(q.Answers[1]);
                e.Numeric = std::all_of(q.Answers.begin() + 1, q.Answers.end(), IsNumber);
                entries << e;
            }
        }
        checkNearDuplicates(entries);
        std::stable_sort(m_found.begin(), m_found.end(),
                         [](const Diagnostic &a, const Diagnostic &b) { return a.Line < b.Line; });
        return m_found;
    }

private:
    void warn(int line, int field, const QString &message) { m_found.append({false, line, field, message}); }

    void checkRoot(int line, const QABase &q)
    {
        const StemmedWords question = Stemmed(q.Question);
        const StemmedWords right = Stemmed(q.Answers[1]);
        for (qsizetype r = 0; r < right.words.size(); ++r) {
            for (qsizetype w = 0; w < question.words.size(); ++w) {
                if (!SameStemRoot(right.stems[r], question.stems[w]))
                    continue;
                // When a wrong answer shares a root with the question too, the
                // words do not point at the right one.
                for (int a = 2; a <= 4; ++a) {
                    if (SharesRootWith(Stemmed(q.Answers[a]).stems, question.stems))
                        return;
                }
                warn(line, 2,
                     QStringLiteral("the right answer shares a root with the question (\"%1\" and \"%2\")")
                         .arg(right.words[r], question.words[w]));
                return;
            }
        }
    }

    void checkForm(int line, const QABase &q)
    {
        QStringList tokens[5];
        for (int a = 1; a <= 4; ++a)
            tokens[a] = Tokens(q.Answers[a]);
        const QStringList questionTokens = Tokens(q.Question);

        // "В каком городе…?" is answered "В Москве", not "Москва".
        static const QSet<QString> asking = {QStringLiteral("в"),  QStringLiteral("во"), QStringLiteral("на"),
                                             QStringLiteral("из"), QStringLiteral("по"), QStringLiteral("о"),
                                             QStringLiteral("об"), QStringLiteral("с"),  QStringLiteral("со"),
                                             QStringLiteral("к"),  QStringLiteral("от"), QStringLiteral("до")};
        // "В каком из этих слов…?" is answered with the words themselves.
        const bool aboutWords = questionTokens.size() >= 3
                                && (questionTokens[2].startsWith(QStringLiteral("слов"))
                                    || (questionTokens.size() >= 5 && questionTokens[2] == QStringLiteral("из")
                                        && questionTokens[4].startsWith(QStringLiteral("слов"))));
        if (questionTokens.size() >= 2 && asking.contains(questionTokens[0]) && !aboutWords) {
            const QString &second = questionTokens[1];
            const bool asks = second.startsWith(QStringLiteral("как")) || second.startsWith(QStringLiteral("чем"))
                              || second.startsWith(QStringLiteral("чём")) || second.startsWith(QStringLiteral("что"))
                              || second.startsWith(QStringLiteral("чей")) || second.startsWith(QStringLiteral("чь"));
            if (asks) {
                for (int a = 1; a <= 4; ++a) {
                    if (!FreeForm(q.Answers[a]) && !StartsWithPreposition(tokens[a])) {
                        warn(line, a + 1,
                             QStringLiteral("the question begins with \"%1 %2\", but this answer has no preposition")
                                 .arg(q.Question.section(QLatin1Char(' '), 0, 0), second));
                        return;
                    }
                }
            }
        }

        // "Какую кривую…?" is answered in the accusative ("Цепную линию").
        // A masculine animate answer ("Балбеса", "Бывалого") also ends in "-а":
        // when one answer shows that form, the others are read the same way.
        bool animate = false;
        for (int a = 1; a <= 4; ++a) {
            const QStringList words = Words(q.Answers[a]);
            animate = animate || (!words.isEmpty() && (words[0].endsWith(QStringLiteral("ого"))
                                                       || words[0].endsWith(QStringLiteral("его"))));
        }
        if (questionTokens.contains(QStringLiteral("какую")) && !animate) {
            for (int a = 1; a <= 4; ++a) {
                if (FreeForm(q.Answers[a]) || tokens[a].isEmpty() || StartsWithPreposition(tokens[a]))
                    continue;
                const QStringList words = Words(q.Answers[a]);
                // "Время", "имя" are neuter: their accusative is the nominative.
                if (!words.isEmpty() && words[0].size() >= 3 && !words[0].endsWith(QStringLiteral("мя"))
                    && (words[0].endsWith(QChar(u'а')) || words[0].endsWith(QChar(u'я')))) {
                    warn(line, a + 1,
                         QStringLiteral("the question asks \"какую\", but this answer reads as a nominative"));
                    return;
                }
            }
        }

        if (FreeForm(q.Answers[1]))
            return;
        // The lone short answer among longer ones, or one far longer than the rest.
        const int right = WordCount(q.Answers[1]);
        const int wrong = WordCount(q.Answers[2]);
        bool wrongAgree = !FreeForm(q.Answers[2]);
        for (int a = 3; a <= 4; ++a)
            wrongAgree = wrongAgree && WordCount(q.Answers[a]) == wrong;
        if (wrongAgree && (right < wrong || right >= wrong + 2)) {
            warn(line, 2,
                 QStringLiteral("the right answer is the only one of %1 word(s); the others have %2")
                     .arg(right)
                     .arg(wrong));
            return;
        }
        if (tokens[1].isEmpty() || tokens[2].size() < 2)
            return;
        bool sameFirst = true;
        for (int a = 3; a <= 4; ++a)
            sameFirst = sameFirst && !tokens[a].isEmpty() && tokens[a][0] == tokens[2][0];
        if (sameFirst && tokens[1][0] != tokens[2][0]) {
            warn(line, 2,
                 QStringLiteral("the wrong answers all begin with \"%1\", the right one does not")
                     .arg(q.Answers[2].section(QLatin1Char(' '), 0, 0)));
            return;
        }
        const bool rightHas = StartsWithPreposition(tokens[1]);
        bool othersHave = true;
        bool othersLack = true;
        for (int a = 2; a <= 4; ++a) {
            othersHave = othersHave && StartsWithPreposition(tokens[a]);
            othersLack = othersLack && !StartsWithPreposition(tokens[a]);
        }
        if ((othersHave && !rightHas) || (othersLack && rightHas))
            warn(line, 2, QStringLiteral("the right answer is the only one %1 a preposition")
                              .arg(rightHas ? QStringLiteral("with") : QStringLiteral("without")));
    }

    // The same fact asked twice: the same right answer to questions with much
    // of their wording in common, nearly the same wording whatever the
    // answer, or the same four answers (numbers aside) offered again. Each
    // question is compared with the earlier ones in file order, and the
    // first that matches is named. Only earlier questions that share two
    // stems or more can match on wording, so those are found through the
    // list of questions of each stem, in file order; the first earlier
    // question with the same four answers comes from a table of answer sets.
    void checkNearDuplicates(const QList<Entry> &entries)
    {
        QHash<QString, QList<qsizetype>> withStem;  // stem -> the questions that have it, in order
        QHash<QStringList, qsizetype> withAnswers; // answer set -> its first question (numbers aside)
        std::vector<const QList<qsizetype> *> lists;
        std::vector<qsizetype> at;
        for (qsizetype j = 0; j < entries.size(); ++j) {
            const Entry &b = entries[j];
            const qsizetype sameAnswers = withAnswers.value(b.AnswerSet, -1);
            // The earlier questions sharing a stem with this one, smallest
            // first: `shared` counts the lists that hold it.
            lists.clear();
            for (const QString &stem : b.Stems) {
                const auto found = withStem.constFind(stem);
                if (found != withStem.constEnd())
                    lists.push_back(&found.value());
            }
            at.assign(lists.size(), 0);
            qsizetype nearly = -1;
            int nearlyShared = 0;
            int nearlyAll = 0;
            bool nearlySameRight = false;
            // Whether earlier question i matches on wording, sharing `shared`
            // stems; the first that does is kept.
            auto matches = [&](qsizetype i, int shared) {
                const Entry &a = entries[i];
                const int all = int(a.Stems.size() + b.Stems.size()) - shared;
                // A number says little: "four" answers the human heart and the crocodile's.
                const bool sameRight = !a.RightIsNumber && a.Right == b.Right;
                if ((sameRight && shared >= 2 && shared * 5 >= all * 2) || (shared >= 4 && shared * 4 >= all * 3)) {
                    nearly = i;
                    nearlyShared = shared;
                    nearlyAll = all;
                    nearlySameRight = sameRight;
                    return true;
                }
                return false;
            };
            qsizetype postings = 0;
            for (const QList<qsizetype> *list : lists)
                postings += list->size();
            // Lists of usual length: count the stems each earlier question
            // shares and keep the first that matches. Very long ones (stems
            // that most questions have) are walked together in file order
            // instead, which stops at the first match as soon as it comes.
            if (postings <= 32768) {
                if (m_shared.size() < size_t(entries.size()))
                    m_shared.resize(size_t(entries.size()), 0);
                m_touched.clear();
                for (const QList<qsizetype> *list : lists) {
                    for (qsizetype i : *list) {
                        if (m_shared[size_t(i)]++ == 0)
                            m_touched.push_back(i);
                    }
                }
                // In file order from the first, so that the first match is kept.
                std::sort(m_touched.begin(), m_touched.end());
                for (qsizetype i : m_touched) {
                    if (sameAnswers >= 0 && i >= sameAnswers)
                        break;
                    if (m_shared[size_t(i)] >= 2 && matches(i, m_shared[size_t(i)]))
                        break;
                }
                for (qsizetype i : m_touched)
                    m_shared[size_t(i)] = 0;
                lists.clear();
            }
            while (!lists.empty()) {
                qsizetype i = -1;
                for (size_t k = 0; k < lists.size(); ++k) {
                    if (at[k] < lists[k]->size() && (i < 0 || (*lists[k])[at[k]] < i))
                        i = (*lists[k])[at[k]];
                }
                if (i < 0 || (sameAnswers >= 0 && i >= sameAnswers))
                    break;
                int shared = 0;
                for (size_t k = 0; k < lists.size(); ++k) {
                    if (at[k] < lists[k]->size() && (*lists[k])[at[k]] == i) {
                        ++shared;
                        ++at[k];
                    }
                }
                if (matches(i, shared))
                    break;
            }
            if (nearly >= 0) {
                warn(b.Line, 1,
                     QStringLiteral("nearly the same question as line %1 (%2 of %3 word stems shared%4)")
                         .arg(entries[nearly].Line)
                         .arg(nearlyShared)
                         .arg(nearlyAll)
                         .arg(nearlySameRight ? QStringLiteral(", the same right answer") : QString()));
            } else if (sameAnswers >= 0) {
                warn(b.Line, 1, QStringLiteral("the same four answers as line %1").arg(entries[sameAnswers].Line));
            }
            for (const QString &stem : b.Stems)
                withStem[stem].append(j);
            if (!b.Numeric && sameAnswers < 0)
                withAnswers.insert(b.AnswerSet, j);
        }
    }

    QList<Diagnostic> m_found;
    std::vector<int> m_shared;        // stems shared with the question being compared, by earlier question
    std::vector<qsizetype> m_touched; // the earlier questions m_shared counts for
};

} // namespace

QString RussianStem(const QString &word)
{
    const QString w = Fold(word);
    for (const QString &ending : Endings) {
        if (w.size() - ending.size() >= 3 && w.endsWith(ending))
            return w.left(w.size() - ending.size());
    }
    return w;
}

bool SameRoot(const QString &a, const QString &b)
{
    return SameStemRoot(RussianStem(a), RussianStem(b));
}

QList<Diagnostic> LintQuestions(const std::array<QList<QABase>, BaseFile::Levels> &levels,
                                const std::array<QList<int>, BaseFile::Levels> &lines)
{
    return Linter().run(levels, lines);
}
