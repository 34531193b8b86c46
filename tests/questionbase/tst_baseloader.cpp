// Loading a base for a game, the first-run shuffle, ranking and the rewrite.

#include "questionbase/AtomicFile.h"
#include "BaseBytes.h"
#include "questionbase/BaseLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestBase;

namespace {

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList Questions(const GameState &state, int level)
{
    QStringList texts;
    for (qsizetype i = 1; i < state.LevelQuestions[level].size(); ++i)
        texts << state.Question(state.LevelQuestions[level][i]).Question;
    return texts;
}

BestTable Entry(const char *name = "", int step = 0, int ticks = 0) { return BestTable{QString::fromUtf8(name), step, ticks}; }

// Runs `work` in a child process without privileges: as "nobody" when the
// tests run as root (the folders it needs are handed to that user), as the
// same user otherwise. Gives the child's exit code, or -1.
int RunUnprivileged(const std::function<int()> &work, const QStringList &folders)
{
    const passwd *nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
    if (geteuid() == 0 && !nobody)
        return -1;
    if (nobody) {
        for (const QString &folder : folders) {
            if (::chown(QFile::encodeName(folder).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
                return -1;
        }
    }
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (nobody && (setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0))
            _exit(100);
        _exit(work());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

unsigned Mode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

} // namespace

class TestBaseLoader : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_base;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath("QA");
        m_base = m_dir.filePath("QA/Base.QA");
        QFile::remove(m_base); // whatever the test before left there: a link, a read-only file
        QVERIFY(WriteFile(m_base, Lines(WellFormedLines(2))));
    }

    void loadFillsTheTables()
    {
        GameState state;
        state.Authors = QStringList{"stale", "stale"};
        std::int32_t games = -1;
        int calls = 0;
        std::int64_t lastTotal = 0;
        const auto failure = LoadBase(m_base, state, &games, [&](std::int64_t n, std::int64_t total) {
            ++calls;
            QCOMPARE(n, std::int64_t(calls));
            lastTotal = total;
        });
        QVERIFY2(!failure, failure ? qPrintable(failure->Reason) : "");
        QCOMPARE(games, 7);
        QCOMPARE(calls, 30);
        QCOMPARE(lastTotal, 30);
        for (int level = 1; level <= 15; ++level) {
            QCOMPARE(state.LevelCounts[level], 2);
            QCOMPARE(state.LevelQuestions[level].size(), 3); // scratch slot + 2
            QCOMPARE(state.LevelQuestions[level][0], QuestionRef());
        }
        QCOMPARE(Questions(state, 4), (QStringList{"L4Q1", "L4Q2"}));
        const QABase q = state.Question(state.LevelQuestions[4][2]);
        QCOMPARE(q.Answers[1], QStringLiteral("L4Q2 верно"));
        QCOMPARE(q.AuthorIndex, 2);
        QCOMPARE(q.SubjectIndex, 2);
        QCOMPARE(state.AuthorCount, 2);
        QCOMPARE(state.Authors, (QStringList{"", QStringLiteral("Редакция"), QStringLiteral("Гость")}));
        QCOMPARE(state.SubjectCount, 3);
        QCOMPARE(NameAt(state.Subjects, 3), QStringLiteral("Спорт"));
    }

    void failedLoadLeavesNoTables_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("field");
        QList<QByteArray> lines = WellFormedLines(1);
        lines[4] = CountLine({1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1});
        lines.removeLast();
        QTest::newRow("a level with no questions") << Lines(lines) << 5 << 7;
        lines = WellFormedLines(1);
        lines[12] = QuestionLine("q") + Sep + "x";
        QTest::newRow("a bad question line in the middle") << Lines(lines) << 13 << 7;
        lines = WellFormedLines(1);
        lines[1] = StoredLine({QStringLiteral("Аня"), "1x"});
        QTest::newRow("a bad step on the leaderboard") << Lines(lines) << 2 << 2;
        QTest::newRow("an empty file") << QByteArray() << 5 << 1;
    }

    void failedLoadLeavesNoTables()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(int, field);
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games)); // tables full from a good base first
        QVERIFY(WriteFile(m_base, bytes));
        const auto failure = LoadBase(m_base, state, &games);
        QVERIFY(failure);
        QCOMPARE(failure->Line, line);
        QCOMPARE(failure->Field, field);
        for (int level = 1; level <= 15; ++level) {
            QCOMPARE(state.LevelCounts[level], 0);
            QVERIFY(state.LevelQuestions[level].isEmpty());
        }
        QVERIFY(state.Authors.isEmpty());
        QCOMPARE(state.AuthorCount, 0);
    }

    void missingFileFails()
    {
        GameState state;
        std::int32_t games = 0;
        QVERIFY(LoadBase(m_dir.filePath("QA/None.QA"), state, &games));
        QVERIFY(LoadBase(QString(), state, &games));
        std::array<BestTable, 7> leaders{};
        QByteArray header;
        QVERIFY(ReadLeaderboard(m_dir.filePath("QA/None.QA"), &header, leaders, &games));
    }

    void basePathTakesBareNamesOnly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "Base.QA" << "QA/Base.QA";
        QTest::newRow("cyrillic") << QStringLiteral("Моя.QA") << QStringLiteral("QA/Моя.QA");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("parent") << ".." << "";
        QTest::newRow("slash") << "../Zorban.ini" << "";
        QTest::newRow("backslash") << "..\\x.QA" << "";
    }

    void basePathTakesBareNamesOnly()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(BasePath(name), path);
    }

    void nameLookupOutOfRangeIsEmpty_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::newRow("first") << 1 << "A";
        QTest::newRow("last") << 2 << "B";
        QTest::newRow("none") << 0 << "";
        QTest::newRow("negative") << -1 << "";
        QTest::newRow("beyond the table") << 3 << "";
        QTest::newRow("far beyond") << 2147483647 << "";
    }

    void nameLookupOutOfRangeIsEmpty()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QCOMPARE(NameAt(QStringList{"", "A", "B"}, index), name);
    }

    // The shuffle reseeds before every draw, so the clock decides the order.
    void shuffleFollowsTheClock_data()
    {
        QTest::addColumn<bool>("stepping");
        QTest::addColumn<std::uint32_t>("start");
        QTest::addColumn<QList<int>>("level1");
        QTest::addColumn<QList<int>>("level2");
        // Expected orders worked out by hand from seed = ms * 134775813 + 1.
        QTest::newRow("one millisecond, 12345") << false << 12345u << QList<int>{2, 3, 4, 1, 5}
                                                << QList<int>{2, 1, 3};
        QTest::newRow("one millisecond, 43210000: draws land on p") << false << 43210000u
                                                                    << QList<int>{1, 2, 3, 4, 5}
                                                                    << QList<int>{1, 2, 3};
        QTest::newRow("clock moving 7919 ms a draw") << true << 43210000u << QList<int>{1, 4, 3, 5, 2}
                                                      << QList<int>{2, 1, 3};
    }

    void shuffleFollowsTheClock()
    {
        QFETCH(bool, stepping);
        QFETCH(std::uint32_t, start);
        QFETCH(QList<int>, level1);
        QFETCH(QList<int>, level2);

        GameState state;
        state.LevelCounts[1] = 5;
        state.LevelCounts[2] = 3;
        state.LevelCounts[3] = 1;
        for (int level = 1; level <= 3; ++level) {
            state.LevelQuestions[level].append(QuestionRef());
            for (int i = 1; i <= state.LevelCounts[level]; ++i) {
                QABase q;
                q.Question = QString::number(i);
                state.LevelQuestions[level].append(state.Keep(q));
            }
        }
        std::uint32_t now = start;
        RandomGenerator random([&] {
            const std::uint32_t t = now;
            if (stepping)
                now += 7919;
            return t;
        });
        int swaps = 0;
        ShuffleLevels(state, random, [&](std::int64_t n, std::int64_t total) {
            QCOMPARE(n, std::int64_t(++swaps));
            QCOMPARE(total, std::int64_t(9));
        });
        QCOMPARE(swaps, 9);
        auto order = [&state](int level) {
            QList<int> numbers;
            for (const QString &text : Questions(state, level))
                numbers << text.toInt();
            return numbers;
        };
        QCOMPARE(order(1), level1);
        QCOMPARE(order(2), level2);
        QCOMPARE(order(3), QList<int>{1});
    }

    void shuffleNeverTouchesRecordsThatWereNotLoaded()
    {
        GameState state;
        state.LevelCounts[1] = 1000;
        state.LevelQuestions[1] = {QuestionRef(), QuestionRef()};
        state.LevelCounts[2] = 4;
        RandomGenerator random([] { return 1u; });
        int swaps = 0;
        ShuffleLevels(state, random, [&](std::int64_t, std::int64_t) { ++swaps; });
        QCOMPARE(swaps, 1);
        QCOMPARE(state.LevelQuestions[1].size(), 2);
        QVERIFY(state.LevelQuestions[2].isEmpty());
    }

    void ranking_data()
    {
        QTest::addColumn<QList<BestTable>>("entries"); // 1..6
        QTest::addColumn<QStringList>("ranked");       // names of 1..6 after ranking
        const QList<BestTable> blank(5);
        QTest::newRow("nothing won against an empty board drops out")
            << (blank + QList{Entry("new", 0, 50)}) << QStringList{"", "", "", "", "", "new"};
        QTest::newRow("any step beats empty entries")
            << (blank + QList{Entry("new", 1, 50)}) << QStringList{"new", "", "", "", "", ""};
        QTest::newRow("higher step first, then shorter time")
            << QList{Entry("a", 10, 900), Entry("b", 10, 500), Entry("c", 15, 3000), Entry("d", 3, 10),
                     Entry("e", 0, 0), Entry("new", 10, 700)}
            << QStringList{"c", "b", "new", "a", "d", "e"};
        QTest::newRow("a tie in step and time ranks below the stored entry")
            << QList{Entry("a", 5, 100), Entry("b", 4, 100), Entry(), Entry(), Entry(), Entry("new", 5, 100)}
            << QStringList{"a", "new", "b", "", "", ""};
        QTest::newRow("faster in the same step ranks above")
            << QList{Entry("a", 5, 100), Entry("b", 4, 100), Entry(), Entry(), Entry(), Entry("new", 5, 99)}
            << QStringList{"new", "a", "b", "", "", ""};
        // Not stable: two stored entries equal in both keys trade places when
        // the new, better entry moves up past them.
        QTest::newRow("equal stored entries swap when a better one passes")
            << QList{Entry("x", 5, 100), Entry("y", 5, 100), Entry("z", 5, 100), Entry(), Entry(),
                     Entry("new", 6, 1)}
            << QStringList{"new", "y", "z", "x", "", ""};
        QTest::newRow("the worst of six drops to entry 6")
            << QList{Entry("a", 9, 1), Entry("b", 8, 1), Entry("c", 7, 1), Entry("d", 6, 1), Entry("e", 5, 1),
                     Entry("new", 5, 2)}
            << QStringList{"a", "b", "c", "d", "e", "new"};
    }

    void ranking()
    {
        QFETCH(QList<BestTable>, entries);
        QFETCH(QStringList, ranked);
        std::array<BestTable, 7> leaders{};
        for (int i = 0; i < 6; ++i)
            leaders[i + 1] = entries[i];
        RankLeaders(leaders);
        QStringList names;
        for (int i = 1; i <= 6; ++i)
            names << leaders[i].Name;
        QCOMPARE(names, ranked);
    }

    void gauge_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("processed");
        QTest::addColumn<int>("value");
        QTest::newRow("15: first step is 6") << 15 << 1 << 6;
        QTest::newRow("15: ends at 90") << 15 << 15 << 90;
        QTest::newRow("99: steps of 1") << 99 << 37 << 37;
        QTest::newRow("99: ends at 99") << 99 << 99 << 99;
        QTest::newRow("100: n div 1") << 100 << 100 << 100;
        QTest::newRow("250: n div 2") << 250 << 3 << 1;
        QTest::newRow("250: full at 200") << 250 << 200 << 100;
        QTest::newRow("250: past the gauge's clamp") << 250 << 250 << 125;
        QTest::newRow("1: jumps to 100") << 1 << 1 << 100;
        QTest::newRow("nothing to count") << 0 << 0 << 0;
    }

    void gauge()
    {
        QFETCH(int, total);
        QFETCH(int, processed);
        QFETCH(int, value);
        QCOMPARE(GaugeValue(processed, total), value);
    }

    void gaugeForFifteenQuestionsStepsBySix()
    {
        for (int n = 1; n <= 15; ++n)
            QCOMPARE(GaugeValue(n, 15), 6 * n);
    }

    void gamesPlayedStopsAtTheLimit()
    {
        QCOMPARE(NextGamesPlayed(0), 1);
        QCOMPARE(NextGamesPlayed(41), 42);
        QCOMPARE(NextGamesPlayed(2147483646), 2147483647);
        QCOMPARE(NextGamesPlayed(2147483647), 2147483647);
    }

    void leaderboardIsReadDefensively()
    {
        QByteArray header;
        std::array<BestTable, 7> leaders{};
        leaders[6] = Entry("me", 3, 30);
        std::int32_t games = 0;
        QVERIFY(!ReadLeaderboard(m_base, &header, leaders, &games));
        QCOMPARE(header, WellFormedLines(2)[0]);
        QCOMPARE(leaders[1], Entry("Аня", 15, 754));
        QCOMPARE(leaders[2], Entry("Боря", 10, 1200));
        QCOMPARE(leaders[3], BestTable());
        QCOMPARE(leaders[6], Entry("me", 3, 30));
        QCOMPARE(games, 7);

        QList<QByteArray> lines = WellFormedLines(2);
        lines[1] = StoredLine({"", "0", "1O"}); // letter O, not a zero
        QVERIFY(WriteFile(m_base, Lines(lines)));
        const auto failure = ReadLeaderboard(m_base, &header, leaders, &games);
        QVERIFY(failure);
        QCOMPARE(failure->Line, 2);
        QCOMPARE(failure->Field, 3);
    }

    // A whole game's worth: load, shuffle, rank, rewrite, load again.
    void rewriteKeepsLines1345AndEveryQuestion()
    {
        const QList<QByteArray> before = WellFormedLines(2);
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games));
        // The draw moved the first question of level 3 to the back.
        state.LevelQuestions[3].move(1, 2);

        QByteArray header;
        QVERIFY(!ReadLeaderboard(m_base, &header, state.Leaders, &games));
        state.Leaders[6] = Entry("Вика", 12, 300);
        RankLeaders(state.Leaders);
        games = NextGamesPlayed(games);
        int writes = 0;
        const auto failure = RewriteBase(m_base, header, state, games, [&](std::int64_t, std::int64_t) { ++writes; });
        QVERIFY2(!failure, failure ? qPrintable(failure->Reason) : "");
        QCOMPARE(writes, 30);

        const QByteArray bytes = ReadFile(m_base);
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> after = BaseFile::SplitLines(bytes);
        QCOMPARE(after.size(), before.size());
        for (int lineNo : {1, 3, 4, 5})
            QCOMPARE(after[lineNo - 1], before[lineNo - 1]);
        QCOMPARE(after[1], StoredLine({QStringLiteral("Аня"), "15", "754", QStringLiteral("Вика"), "12", "300",
                                       QStringLiteral("Боря"), "10", "1200", "", "0", "0", "", "0", "0", "8"}));
        QList<QByteArray> sortedBefore = before.mid(5);
        QList<QByteArray> sortedAfter = after.mid(5);
        QCOMPARE(after[5 + 4], before[5 + 5]); // level 3 rotated
        QCOMPARE(after[5 + 5], before[5 + 4]);
        std::sort(sortedBefore.begin(), sortedBefore.end());
        std::sort(sortedAfter.begin(), sortedAfter.end());
        QCOMPARE(sortedAfter, sortedBefore);

        GameState again;
        QVERIFY(!LoadBase(m_base, again, &games));
        QCOMPARE(games, 8);
        QCOMPARE(Questions(again, 3), (QStringList{"L3Q2", "L3Q1"}));
        QDir qa(m_dir.filePath("QA"));
        QCOMPARE(qa.entryList(QDir::Files), QStringList{"Base.QA"});
    }

    // A question line goes back exactly as it was read, whatever it holds
    // that the writer would not write itself.
    void questionLinesSurviveTheRewriteByteForByte_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("a tab and a bell in the question")
            << Join({Stored("a") + char(FlipChar('\t')) + Stored("b") + char(FlipChar(7)), Stored("1"), Stored("2"),
                     Stored("3"), Stored("4"), Stored("1"), Stored("2")});
        QTest::newRow("a lone CR inside an answer")
            << Join({Stored("q"), Stored("x") + '\r' + Stored("y"), Stored("2"), Stored("3"), Stored("4")});
        QTest::newRow("only the question, no other field") << Stored(QStringLiteral("Вопрос"));
        QTest::newRow("an empty line") << QByteArray();
    }

    void questionLinesSurviveTheRewriteByteForByte()
    {
        QFETCH(QByteArray, line);
        QList<QByteArray> lines = WellFormedLines(2);
        lines[5 + 2 * 6] = line; // first question of level 7
        QVERIFY(WriteFile(m_base, Lines(lines)));
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games));
        state.LevelQuestions[7].move(1, 2); // it moves to the back of its level
        QByteArray header;
        QVERIFY(!ReadLeaderboard(m_base, &header, state.Leaders, &games));
        QVERIFY(!RewriteBase(m_base, header, state, games));
        const QList<QByteArray> after = BaseFile::SplitLines(ReadFile(m_base));
        QCOMPARE(after.size(), lines.size());
        QCOMPARE(after[5 + 2 * 6 + 1], line);
        QCOMPARE(after[5 + 2 * 6], lines[5 + 2 * 6 + 1]);
    }

    void fewerNamesThanTheCountSurviveTheRewrite()
    {
        QList<QByteArray> lines = WellFormedLines(1);
        lines[3] = StoredLine({"5", QStringLiteral("История")});
        QVERIFY(WriteFile(m_base, Lines(lines)));
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games));
        QCOMPARE(state.SubjectCount, 5);
        QCOMPARE(NameAt(state.Subjects, 1), QStringLiteral("История"));
        QCOMPARE(NameAt(state.Subjects, 3), QString()); // counted but not present
        QByteArray header;
        QVERIFY(!ReadLeaderboard(m_base, &header, state.Leaders, &games));
        QVERIFY(!RewriteBase(m_base, header, state, games));
        lines[3] = StoredLine({"5", QStringLiteral("История"), "", "", "", ""});
        QCOMPARE(ReadFile(m_base), Lines(lines));
    }

    // A game reads its questions from the file it loaded. Another program
    // writing into that file meanwhile: the changed bytes never pass for
    // questions, and the rewrite leaves the file as that program left it.
    // A file renamed over the base is no change to the one that was loaded.
    void baseChangedUnderTheGame_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("rewrites");
        QTest::newRow("shortened in place") << "truncate" << false;
        QTest::newRow("rewritten in place, same size") << "overwrite" << false;
        QTest::newRow("another file renamed over it") << "rename" << true;
    }

    void baseChangedUnderTheGame()
    {
        QFETCH(QString, how);
        QFETCH(bool, rewrites);
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games));
        const QStringList loaded = Questions(state, 1);
        QCOMPARE(loaded.size(), 2);
        const QByteArray loadedBytes = ReadFile(m_base);
        QByteArray changed = loadedBytes;
        if (how == "truncate") {
            changed.truncate(changed.size() / 2);
            QVERIFY(WriteFile(m_base, changed));
        } else if (how == "overwrite") {
            changed.replace(Stored(QStringLiteral("L1Q1")), Stored(QStringLiteral("X1Y1")));
            QVERIFY(changed != loadedBytes);
            QVERIFY(WriteFile(m_base, changed));
        } else {
            changed = Lines(WellFormedLines(1));
            QVERIFY(WriteFile(m_dir.filePath("QA/Other.QA"), changed));
            QVERIFY(::rename(QFile::encodeName(m_dir.filePath("QA/Other.QA")).constData(),
                             QFile::encodeName(m_base).constData()) == 0);
        }
        const QStringList expected = rewrites ? loaded : QStringList{QString(), QString()};
        QCOMPARE(Questions(state, 1), expected);
        const auto failure = RewriteBase(m_base, "T", state, 1);
        QCOMPARE(!failure, rewrites);
        if (rewrites) {
            GameState again;
            QVERIFY(!LoadBase(m_base, again, &games));
            QCOMPARE(Questions(again, 1), loaded);
        } else {
            QCOMPARE(ReadFile(m_base), changed);
        }
    }

    void failedRewriteLeavesTheOldBase()
    {
        const QByteArray old = ReadFile(m_base);
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games));
        QDir(m_dir.path()).rmdir("Gone");
        QVERIFY(RewriteBase(m_dir.filePath("Gone/Base.QA"), "T", state, 1));
        QVERIFY(RewriteBase(QString(), "T", state, 1));

        // Stopped after the temporary file is complete, before it replaces the base.
        const auto reason = WriteFileAtomically(m_base, "new", [] { return false; });
        QVERIFY(reason);
        QCOMPARE(ReadFile(m_base), old);
        QCOMPARE(QDir(m_dir.filePath("QA")).entryList(QDir::Files | QDir::Hidden), QStringList{"Base.QA"});
    }

    // A process killed between writing and renaming leaves the old base whole.
    void killBeforeRenameLeavesTheOldBase()
    {
        const QByteArray old = ReadFile(m_base);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            WriteFileAtomically(m_base, QByteArray(100000, 'x'), [] {
                _exit(0);
                return true;
            });
            _exit(3); // never reached when the seam runs
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(ReadFile(m_base), old);
        GameState state;
        std::int32_t games = 0;
        QVERIFY(!LoadBase(m_base, state, &games));
        // The killed write leaves its temporary file behind, never a .QA name.
        for (const QString &name : QDir(m_dir.filePath("QA")).entryList(QDir::Files))
            QVERIFY(name == "Base.QA" || name.endsWith(".tmp"));
    }

    // The rewrite replaces the file whole, yet keeps what writing it in place
    // kept: a mode that forbids writing, owner, group and mode, and links.
    void baseThePlayerMayNotWriteIsNotReplaced()
    {
        const QByteArray old = ReadFile(m_base);
        QVERIFY(QFile::setPermissions(m_base, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const int refused = RunUnprivileged([this] { return WriteFileAtomically(m_base, "new") ? 0 : 1; },
                                            {m_dir.path(), m_dir.filePath("QA")});
        QCOMPARE(refused, 0);
        QCOMPARE(ReadFile(m_base), old);
        QCOMPARE(QDir(m_dir.filePath("QA")).entryList(QDir::Files | QDir::Hidden), QStringList{"Base.QA"});
        if (geteuid() == 0) {
            // As for a write in place, the mode does not stop a privileged process.
            QVERIFY(!WriteFileAtomically(m_base, "new"));
            QCOMPARE(ReadFile(m_base), QByteArray("new"));
            QCOMPARE(Mode(m_base), 0444u);
        }
    }

    void ownerGroupAndModeSurviveTheRewrite()
    {
        QVERIFY(::chmod(QFile::encodeName(m_base).constData(), 0640) == 0);
        const passwd *nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
        if (nobody)
            QVERIFY(::chown(QFile::encodeName(m_base).constData(), nobody->pw_uid, nobody->pw_gid) == 0);
        struct stat before {};
        QVERIFY(::stat(QFile::encodeName(m_base).constData(), &before) == 0);
        QVERIFY(!WriteFileAtomically(m_base, "new"));
        struct stat after {};
        QVERIFY(::stat(QFile::encodeName(m_base).constData(), &after) == 0);
        QCOMPARE(after.st_mode & 07777, 0640u);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QVERIFY(after.st_ino != before.st_ino); // replaced, not written in place
    }

    void linkedBaseStaysALink()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("store"));
        const QString real = m_dir.filePath("store/Real.QA");
        QVERIFY(WriteFile(real, "old"));
        QVERIFY(QFile::remove(m_base));
        QVERIFY(QFile::link("../store/Real.QA", m_base));
        QVERIFY(!WriteFileAtomically(m_base, "new"));
        QVERIFY(QFileInfo(m_base).isSymLink());
        QCOMPARE(QFileInfo(m_base).symLinkTarget(), QFileInfo(real).absoluteFilePath());
        QCOMPARE(ReadFile(real), QByteArray("new"));
        QCOMPARE(QDir(m_dir.filePath("store")).entryList(QDir::Files | QDir::Hidden), QStringList{"Real.QA"});
        QCOMPARE(QDir(m_dir.filePath("QA")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot
                                                      | QDir::System),
                 QStringList{"Base.QA"});
    }

    void atomicWriteKeepsPermissions()
    {
        QVERIFY(QFile::setPermissions(m_base, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(!WriteFileAtomically(m_base, "new"));
        QCOMPARE(ReadFile(m_base), QByteArray("new"));
        QCOMPARE(QFile::permissions(m_base) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther),
                 QFile::ReadOwner | QFile::WriteOwner);
    }
};

QTEST_GUILESS_MAIN(TestBaseLoader)
#include "tst_baseloader.moc"
