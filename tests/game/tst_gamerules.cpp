// The game's rules without a window: the question draw, the ladder and the
// host's words, the countdown and the menu panel.
#include "game/Countdown.h"
#include "game/HostText.h"
#include "game/Ladder.h"
#include "game/MenuPanel.h"
#include "questionbase/MoneyLadder.h"
#include "game/QuestionDraw.h"

#include <QSet>
#include <QTest>

#include <algorithm>
#include <map>

namespace {

QABase MakeQuestion(const QString &tag)
{
    QABase q;
    q.Question = tag;
    q.Answers = {QString(), tag + QStringLiteral("-right"), tag + QStringLiteral("-w2"),
                 tag + QStringLiteral("-w3"), tag + QStringLiteral("-w4")};
    return q;
}

// A level list with scratch slot 0 and questions q1..qn, kept in `state`.
QList<QuestionRef> MakeLevel(GameState &state, int n)
{
    QList<QuestionRef> level{QuestionRef()};
    for (int i = 1; i <= n; ++i)
        level.append(state.Keep(MakeQuestion(QStringLiteral("q%1").arg(i))));
    return level;
}

QStringList Tags(const GameState &state, const QList<QuestionRef> &level, int n)
{
    QStringList tags;
    for (int i = 1; i <= n; ++i)
        tags << state.Question(level[i]).Question;
    return tags;
}

// The place value that one reseeded try gives from clock value `ms`.
int PlaceFromSeed(std::uint32_t ms)
{
    RandomGenerator g;
    g.setSeed(ms);
    return g.RandomInt(4) + 1;
}

QString Key(const std::array<int, 5> &pos)
{
    return QStringLiteral("%1%2%3%4").arg(pos[1]).arg(pos[2]).arg(pos[3]).arg(pos[4]);
}

} // namespace

class TestGameRules : public QObject {
    Q_OBJECT

private slots:
    // Picking and rotating the question
    void moveToBack_data();
    void moveToBack();
    void pickOnlyAmongFirstTen_data();
    void pickOnlyAmongFirstTen();
    void drawCopiesPickedQuestionAndRotatesLevel();
    void drawRefusesLevelWithoutLoadedQuestions_data();
    void drawRefusesLevelWithoutLoadedQuestions();
    void drawUsesOnlyLoadedRecordsWhenCountSaysMore();

    // Placing the answers
    void placementFromDraws_data();
    void placementFromDraws();
    void placementReachesFifteenOrders();
    void placementReseedsBeforeItsDraws();

    // Fifty-fifty targets
    void fiftyNeverHitsCorrectAnswer();
    void fiftyRetriesWithAReseedEachTime_data();
    void fiftyRetriesWithAReseedEachTime();
    void fiftyFinishesWhenClockStandsStill();

    // Subject, author and font sizes
    void subjectAndAuthorLines_data();
    void subjectAndAuthorLines();
    void questionFontSize_data();
    void questionFontSize();
    void answerFontSize_data();
    void answerFontSize();
    void pointsToPixels_data();
    void pointsToPixels();

    // The ladder
    void ladderMessages_data();
    void ladderMessages();
    void ladderWinningsMarkersAndTier();
    void nameLeadingMessagesStartWithCommaForEmptyName();
    void wrongAnswerSafeSums_data();
    void wrongAnswerSafeSums();
    void wrongAnswerFullMessage();

    // Countdown and game clock
    void gameClockFormat_data();
    void gameClockFormat();
    void countdownColoursAndWarning();
    void countdownPausesWhileWindowIsHeld();
    void timeOutAtQuestionEightKeepsWinnings();

    // Other host texts
    void takeMoneyMessages_data();
    void takeMoneyMessages();
    void fiftyFiftyMessage();
    void loadFailureMessage();

    // Menu panel
    void menuPanelSlidesOutInTenTicks();
    void menuPanelSlidesInInSeventeenTicks();
    void menuPanelStaysWhenPointerOnEdge();
};

void TestGameRules::moveToBack_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("picked");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("single question stays") << 1 << 1 << QStringList{"q1"};
    QTest::newRow("first of three goes last") << 3 << 1 << QStringList{"q2", "q3", "q1"};
    QTest::newRow("last of three stays") << 3 << 3 << QStringList{"q1", "q2", "q3"};
    QStringList of25;
    for (int i = 1; i <= 25; ++i) {
        if (i != 7)
            of25 << QStringLiteral("q%1").arg(i);
    }
    of25 << QStringLiteral("q7");
    QTest::newRow("seventh of 25 goes to 25") << 25 << 7 << of25;
}

void TestGameRules::moveToBack()
{
    QFETCH(int, count);
    QFETCH(int, picked);
    QFETCH(QStringList, expected);

    GameState state;
    QList<QuestionRef> level = MakeLevel(state, count);
    QuestionDraw::MoveToBack(level, count, picked);
    QCOMPARE(level.size(), count + 1);
    QCOMPARE(Tags(state, level, count), expected);
}

void TestGameRules::pickOnlyAmongFirstTen_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("highest");

    QTest::newRow("one question") << 1 << 1;
    QTest::newRow("three questions") << 3 << 3;
    QTest::newRow("nine questions") << 9 << 9;
    QTest::newRow("ten questions") << 10 << 10;
    QTest::newRow("25 questions") << 25 << 10;
}

void TestGameRules::pickOnlyAmongFirstTen()
{
    QFETCH(int, count);
    QFETCH(int, highest);

    std::uint32_t ms = 0;
    RandomGenerator rng([&ms] { return ms; });
    QSet<int> seen;
    for (ms = 0; ms < 2000; ms += 7)
        seen.insert(QuestionDraw::PickPosition(rng, count));

    QSet<int> expected;
    for (int p = 1; p <= highest; ++p)
        expected.insert(p);
    QCOMPARE(seen, expected);
}

void TestGameRules::drawCopiesPickedQuestionAndRotatesLevel()
{
    GameState state;
    state.QuestionNumber = 4;
    state.LevelCounts[4] = 25;
    state.LevelQuestions[4] = MakeLevel(state, 25);
    state.SecondsLeft = 13;

    std::uint32_t ms = 43'200'123;
    RandomGenerator rng([&ms] { return ms; });
    RandomGenerator replay([&ms] { return ms; });
    const int expectedPick = QuestionDraw::PickPosition(replay, 25);

    QVERIFY(QuestionDraw::Draw(state, rng));
    const QString picked = QStringLiteral("q%1").arg(expectedPick);
    QCOMPARE(state.CurrentQuestion.Question, picked);
    QCOMPARE(state.Question(state.LevelQuestions[4][25]).Question, picked);
    QCOMPARE(state.LevelQuestions[4].size(), 26);
    QCOMPARE(state.SecondsLeft, 60);
    // The placement is a permutation and the fifty-fifty places are wrong answers.
    QList<int> values(state.AnswerPos.begin() + 1, state.AnswerPos.end());
    std::sort(values.begin(), values.end());
    QCOMPARE(values, (QList<int>{1, 2, 3, 4}));
    const int correct = QuestionDraw::CorrectPlace(state.AnswerPos);
    QVERIFY(state.FiftyHide1 != correct && state.FiftyHide2 != correct);
    QVERIFY(state.FiftyHide1 != state.FiftyHide2);
}

void TestGameRules::drawRefusesLevelWithoutLoadedQuestions_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("loaded");

    QTest::newRow("empty level") << 0 << 0;
    QTest::newRow("count without records") << 5 << 0;
}

void TestGameRules::drawRefusesLevelWithoutLoadedQuestions()
{
    QFETCH(int, count);
    QFETCH(int, loaded);

    GameState state;
    state.QuestionNumber = 2;
    state.LevelCounts[2] = count;
    state.LevelQuestions[2] = loaded > 0 ? MakeLevel(state, loaded) : QList<QuestionRef>();
    state.CurrentQuestion = MakeQuestion(QStringLiteral("before"));
    RandomGenerator rng([] { return 5u; });
    QVERIFY(!QuestionDraw::Draw(state, rng));
    QCOMPARE(state.CurrentQuestion.Question, QStringLiteral("before"));
}

void TestGameRules::drawUsesOnlyLoadedRecordsWhenCountSaysMore()
{
    // A count of 20 but only two records read: the draw stays among those two.
    for (std::uint32_t ms = 0; ms < 200; ms += 3) {
        GameState state;
        state.QuestionNumber = 1;
        state.LevelCounts[1] = 20;
        state.LevelQuestions[1] = MakeLevel(state, 2);
        RandomGenerator rng([ms] { return ms; });
        QVERIFY(QuestionDraw::Draw(state, rng));
        QVERIFY(state.CurrentQuestion.Question == QStringLiteral("q1")
                || state.CurrentQuestion.Question == QStringLiteral("q2"));
        QCOMPARE(state.LevelQuestions[1].size(), 3);
    }
}

void TestGameRules::placementFromDraws_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<QString>("order");

    QTest::newRow("0,0,0 keeps the stored order") << 0 << 0 << 0 << "1234";
    QTest::newRow("3,2,1 reverses it") << 3 << 2 << 1 << "4321";
    QTest::newRow("0,2,1") << 0 << 2 << 1 << "1324";
    QTest::newRow("A=1, b=0 steps B past A to 2") << 0 << 0 << 1 << "1234";
    QTest::newRow("A=1, b=2 gives B=3") << 0 << 2 << 0 << "1324";
    QTest::newRow("B skips past A") << 1 << 1 << 0 << "2314";
}

void TestGameRules::placementFromDraws()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(QString, order);
    QCOMPARE(Key(QuestionDraw::PlacementFromDraws(a, b, c)), order);
}

void TestGameRules::placementReachesFifteenOrders()
{
    std::map<QString, int> weight;
    int correctAt[5] = {};
    QSet<int> bWithAOne;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 3; ++b) {
            for (int c = 0; c < 2; ++c) {
                const auto pos = QuestionDraw::PlacementFromDraws(a, b, c);
                QList<int> sorted(pos.begin() + 1, pos.end());
                std::sort(sorted.begin(), sorted.end());
                QCOMPARE(sorted, (QList<int>{1, 2, 3, 4}));
                ++weight[Key(pos)];
                ++correctAt[QuestionDraw::CorrectPlace(pos)];
                if (pos[1] == 1)
                    bWithAOne.insert(pos[2]);
            }
        }
    }
    QCOMPARE(int(weight.size()), 15);
    QCOMPARE(weight[QStringLiteral("1234")], 4);
    for (int place = 1; place <= 4; ++place)
        QCOMPARE(correctAt[place], 6);
    QCOMPARE(bWithAOne, (QSet<int>{2, 3}));
}

void TestGameRules::placementReseedsBeforeItsDraws()
{
    // Whatever the sequence did before, the placement depends on the clock alone.
    RandomGenerator first([] { return 777u; });
    RandomGenerator second([] { return 777u; });
    second.setSeed(123456);
    second.RandomInt(10);
    QCOMPARE(Key(QuestionDraw::PlaceAnswers(first)), Key(QuestionDraw::PlaceAnswers(second)));
}

void TestGameRules::fiftyNeverHitsCorrectAnswer()
{
    std::uint32_t ms = 0;
    RandomGenerator rng([&ms] { return ms++; });
    for (int correct = 1; correct <= 4; ++correct) {
        QSet<int> survivors;
        for (int round = 0; round < 300; ++round) {
            const auto hides = QuestionDraw::ChooseFiftyHides(rng, correct);
            QVERIFY(hides.first >= 1 && hides.first <= 4);
            QVERIFY(hides.second >= 1 && hides.second <= 4);
            QVERIFY(hides.first != correct);
            QVERIFY(hides.second != correct);
            QVERIFY(hides.first != hides.second);
            survivors.insert(10 - correct - hides.first - hides.second);
        }
        // Each of the three wrong places is sometimes the one left standing.
        QCOMPARE(survivors.size(), 3);
        QVERIFY(!survivors.contains(correct));
    }
}

void TestGameRules::fiftyRetriesWithAReseedEachTime_data()
{
    QTest::addColumn<int>("triesPerMillisecond");
    QTest::newRow("the clock moves every try") << 1;
    QTest::newRow("three tries within one millisecond") << 3;
    QTest::newRow("a millisecond that lasts 99 ms of steady time") << 99;
}

void TestGameRules::fiftyRetriesWithAReseedEachTime()
{
    // Every try reseeds, so within one millisecond a rejected place comes back,
    // and the chosen place is that of the first millisecond giving an allowed
    // one. Steady time moves 1 ms per try, never reaching the frozen-clock limit.
    QFETCH(int, triesPerMillisecond);
    for (std::uint32_t start = 1000; start < 1200; ++start) {
        int tries = 0;
        RandomGenerator rng([&] { return start + std::uint32_t(tries++ / triesPerMillisecond); });
        std::int64_t steady = 0;
        const int correct = int(start % 4) + 1;
        const auto hides = QuestionDraw::ChooseFiftyHides(rng, correct, [&steady] { return steady++; });

        std::uint32_t t = start;
        int first = 0;
        while (first == 0 || first == correct)
            first = PlaceFromSeed(t++);
        int second = 0;
        while (second == 0 || second == correct || second == first)
            second = PlaceFromSeed(t++);
        QCOMPARE(hides.first, first);
        QCOMPARE(hides.second, second);
    }
}

void TestGameRules::fiftyFinishesWhenClockStandsStill()
{
    // A clock stuck on a millisecond whose value is the correct place: after
    // 100 ms of steady time the draw carries on from the sequence and ends
    // with two wrong places.
    std::uint32_t stuck = 0;
    while (PlaceFromSeed(stuck) != 2)
        ++stuck;
    RandomGenerator rng([stuck] { return stuck; });
    std::int64_t steady = 0;
    int reads = 0;
    const auto hides = QuestionDraw::ChooseFiftyHides(rng, 2, [&] { ++reads; return steady += 10; });
    QVERIFY(hides.first != 2 && hides.second != 2);
    QVERIFY(hides.first != hides.second);
    // Ten tries of 10 ms each repeat the stuck value before the sequence goes on.
    QVERIFY2(reads > 10, qPrintable(QString::number(reads)));
}

void TestGameRules::subjectAndAuthorLines_data()
{
    QTest::addColumn<int>("subject");
    QTest::addColumn<int>("author");
    QTest::addColumn<QString>("subjectLine");
    QTest::addColumn<QString>("authorLine");

    QTest::newRow("both named") << 2 << 1 << QStringLiteral("Тема вопроса: История")
                                << QStringLiteral("Вопрос задал: Редакция");
    QTest::newRow("none") << 0 << -1 << QStringLiteral("Тема вопроса: Разное")
                          << QStringLiteral("Вопрос задал: Неизвестный");
    QTest::newRow("beyond the tables") << 3 << 2 << QStringLiteral("Тема вопроса: Разное")
                                       << QStringLiteral("Вопрос задал: Неизвестный");
}

void TestGameRules::subjectAndAuthorLines()
{
    QFETCH(int, subject);
    QFETCH(int, author);
    QFETCH(QString, subjectLine);
    QFETCH(QString, authorLine);

    GameState state;
    state.Subjects = {QString(), QStringLiteral("География"), QStringLiteral("История")};
    state.SubjectCount = 2;
    state.Authors = {QString(), QStringLiteral("Редакция")};
    state.AuthorCount = 1;
    QABase q;
    q.SubjectIndex = subject;
    q.AuthorIndex = author;
    QCOMPARE(QuestionDraw::SubjectLine(state, q), subjectLine);
    QCOMPARE(QuestionDraw::AuthorLine(state, q), authorLine);
}

void TestGameRules::questionFontSize_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("points");

    QTest::newRow("67 chars") << 67 << 16 << 20;
    QTest::newRow("68 chars") << 68 << 20 << 16;
    QTest::newRow("149 chars") << 149 << 20 << 16;
    QTest::newRow("150 chars keeps 20") << 150 << 20 << 20;
    QTest::newRow("150 chars keeps 16") << 150 << 16 << 16;
    QTest::newRow("empty") << 0 << 16 << 20;
}

void TestGameRules::questionFontSize()
{
    QFETCH(int, length);
    QFETCH(int, current);
    QFETCH(int, points);
    QCOMPARE(QuestionDraw::QuestionFontPoints(length, current), points);
}

void TestGameRules::answerFontSize_data()
{
    QTest::addColumn<int>("longest");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("points");

    QTest::newRow("39") << 39 << 8 << 14;
    QTest::newRow("40") << 40 << 14 << 12;
    QTest::newRow("59") << 59 << 14 << 12;
    QTest::newRow("60") << 60 << 14 << 10;
    QTest::newRow("79") << 79 << 14 << 10;
    QTest::newRow("80") << 80 << 14 << 8;
    QTest::newRow("149") << 149 << 14 << 8;
    QTest::newRow("150 keeps 14") << 150 << 14 << 14;
    QTest::newRow("150 keeps 10") << 150 << 10 << 10;
}

void TestGameRules::answerFontSize()
{
    QFETCH(int, longest);
    QFETCH(int, current);
    QFETCH(int, points);
    QCOMPARE(QuestionDraw::AnswerFontPoints(longest, current), points);

    // The longest of the four answers decides, wherever it stands.
    QABase q;
    q.Answers = {QString(), QStringLiteral("a"), QString(longest, QLatin1Char('x')),
                 QStringLiteral("b"), QString()};
    QCOMPARE(QuestionDraw::LongestAnswerLength(q), longest);
}

void TestGameRules::pointsToPixels_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("pixels");
    QTest::newRow("8") << 8 << 11;
    QTest::newRow("10") << 10 << 13;
    QTest::newRow("12") << 12 << 16;
    QTest::newRow("14") << 14 << 19;
    QTest::newRow("16") << 16 << 21;
    QTest::newRow("20") << 20 << 27;
}

void TestGameRules::pointsToPixels()
{
    QFETCH(int, points);
    QFETCH(int, pixels);
    QCOMPARE(QuestionDraw::PointsToPixels(points), pixels);
}

void TestGameRules::ladderMessages_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("message");

    const QString name = QStringLiteral("Аня");
        QTest::newRow("question 1") << 1 << (QStringLiteral("Ну что, ") + name + QStringLiteral(", приступим к штурму миллиона? Вот вам вопросик на 100 рублей. Я думаю, что вы выиграете эти деньги, ответив на данный вопрос. Удачи!"));
        QTest::newRow("question 2") << 2 << (QStringLiteral("Поздравляю вас, ") + name + QStringLiteral("! Вы даете успехи! Вы только-что выиграли 100 рублей, но вы их можете и проиграть, ответив неверно на вопрос, который должен удвоить ваш выигрыш. А вот и он:"));
        QTest::newRow("question 3") << 3 << (name + QStringLiteral(", вы выиграли 200 рублей! Мои вам поздравления! Вот вам вопрос на 300 рублей:"));
        QTest::newRow("question 4") << 4 << (name + QStringLiteral(", опять вы дали верный ответ! Теперь ваш выигрыш составляет 300 рублей! Помните, что вопросы будут еще сложнее, поэтому все ваши подсказки постарайтесь сберечь на более трудные вопросы, чем этот."));
        QTest::newRow("question 5") << 5 << (name + QStringLiteral(", вы все-таки выиграли 500 рублей! Впереди вас ждет первая несгораемая сумма в 1000 рублей! А вот очередной вопрос:"));
        QTest::newRow("question 6") << 6 << (name + QStringLiteral(", вы выиграли первую несгораемую сумму в 1000 рублей! Смелее отвечайте на этот вопрос т.к. вы свою \"Штуку\" не потеряете!"));
        QTest::newRow("question 7") << 7 << (name + QStringLiteral(", вы удвоили свою первую несгораемую сумму в 1000 рублей! Хотите удвоиться еще раз? Тогда отвечайте на этот вопрос:"));
        QTest::newRow("question 8") << 8 << (name + QStringLiteral(", теперь ваш выигрыш составляет 4000 рублей! Так держать! Вопросы теперь очень трудные, поэтому можете взять одну из подсказок."));
        QTest::newRow("question 9") << 9 << (QStringLiteral("Становится немного горячо! ") + name + QStringLiteral(", теперь 8000 рублей ваши, если вы их не проиграете!"));
        QTest::newRow("question 10") << 10 << (name + QStringLiteral(", хотите вторую несгораемую сумму? Тогда отвечайте на этот вопрос:"));
        QTest::newRow("question 11") << 11 << (name + QStringLiteral(", считайте, что 32000 уже лежат у вас в кармане т.к. вы выиграли вторую несгораемую сумму! Хотите большего? Дерзайте! Вам сейчас нечего терять!"));
        QTest::newRow("question 12") << 12 << (name + QStringLiteral(", вы удвоили свой выигрыш! Теперь он составляет 64000 рублей! Вот вопрос, который может принести вам 125000 рублей:"));
        QTest::newRow("question 13") << 13 << (name + QStringLiteral(", 125000 рублей ваши! Прежде, чем отвечать на этот вопрос задумайтесь. Ведь ответив неправильно вы теряете 93000 рублей, но ответив верно выигрываете 250000 рублей!"));
        QTest::newRow("question 14") << 14 << (QStringLiteral("Сейчас обстановка очень горячая. ") + name + QStringLiteral(", берите деньги! Вам что? Мало 250000 рублей?"));
        QTest::newRow("question 15") << 15 << (name + QStringLiteral(", вы уже почти миллионер! Может все-таки заберете деньги? Ведь вы можете потерять 468000 рублей! Проснитесь!"));
        QTest::newRow("question 16") << 16 << (name + QStringLiteral(", вы миллионер! Такое бывает раз в жизни! Это просто чудо! У меня к вам возникает вопрос: \"Что вы с ним собираетесь делать?\"."));
}

void TestGameRules::ladderMessages()
{
    QFETCH(int, question);
    QFETCH(QString, message);
    QCOMPARE(Ladder::StepFor(question, QStringLiteral("Аня")).message, message);
}

void TestGameRules::ladderWinningsMarkersAndTier()
{
    using Ladder::Marker;
    int tier = 0;
    for (int q = 1; q <= 16; ++q) {
        const Ladder::Step step = Ladder::StepFor(q, QStringLiteral("x"));
        if (step.tier != 0)
            tier = step.tier;
        QCOMPARE(step.winnings, MoneyLadder::SumOfStep(q - 1));
        QCOMPARE(step.drawsQuestion, q <= 15);
        QCOMPARE(step.endsGame, q == 16);
        QList<Ladder::MarkerChange> markers;
        if (q > 1)
            markers.append({q - 1, Marker::Green});
        if (q <= 15)
            markers.append({q, Marker::Yellow});
        QCOMPARE(step.markers, markers);
        // The tier of the question now on screen.
        if (q <= 15)
            QCOMPARE(tier, q <= 4 ? 1 : q <= 9 ? 2 : 3);
    }
    QCOMPARE(Ladder::StepFor(2, QString()).winnings, 100);
    QCOMPARE(Ladder::StepFor(16, QString()).winnings, 1000000);
    QCOMPARE(Ladder::StepFor(1, QString()).tier, 1);
    QCOMPARE(Ladder::StepFor(5, QString()).tier, 2);
    QCOMPARE(Ladder::StepFor(10, QString()).tier, 3);
    QVERIFY(Ladder::StepFor(0, QStringLiteral("x")).message.isEmpty());
    QVERIFY(Ladder::StepFor(17, QStringLiteral("x")).message.isEmpty());
    QCOMPARE(Ladder::MarkerPicture(Marker::Yellow), QStringLiteral("YELLOW"));
    QCOMPARE(Ladder::MarkerPicture(Marker::Green), QStringLiteral("GREEN"));
    QCOMPARE(Ladder::MarkerPicture(Marker::Red), QStringLiteral("RED"));
    QCOMPARE(Ladder::MarkerPicture(Marker::None), QStringLiteral("NONE"));
}

void TestGameRules::nameLeadingMessagesStartWithCommaForEmptyName()
{
    for (int q = 3; q <= 16; ++q) {
        if (q == 9 || q == 14)
            continue; // these two open with a sentence of their own
        QVERIFY2(Ladder::StepFor(q, QString()).message.startsWith(QLatin1Char(',')),
                 qPrintable(QString::number(q)));
    }
    QCOMPARE(Ladder::StepFor(2, QStringLiteral("Аня")).message.left(20),
             QStringLiteral("Поздравляю вас, Аня!"));
}

void TestGameRules::wrongAnswerSafeSums_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("safe");

    QTest::newRow("question 1") << 1 << 0;
    QTest::newRow("question 5") << 5 << 0;
    QTest::newRow("question 6") << 6 << 1000;
    QTest::newRow("question 10") << 10 << 1000;
    QTest::newRow("question 11") << 11 << 32000;
    QTest::newRow("question 15") << 15 << 32000;
}

void TestGameRules::wrongAnswerSafeSums()
{
    QFETCH(int, question);
    QFETCH(int, safe);

    GameState state;
    state.QuestionNumber = question;
    state.Winnings = Ladder::StepFor(question, QString()).winnings;
    const Ladder::WrongOutcome outcome = Ladder::WrongAnswer(state, QStringLiteral("x"));
    QCOMPARE(outcome.winnings, safe);
    QCOMPARE(outcome.redMarker, question);
    QCOMPARE(state.QuestionNumber, question);
}

void TestGameRules::wrongAnswerFullMessage()
{
    GameState state;
    state.PlayerName = QStringLiteral("Аня");
    state.QuestionNumber = 3;
    state.Winnings = 200;
    state.CurrentQuestion = MakeQuestion(QStringLiteral("Столица?"));
    state.CurrentQuestion.Answers[1] = QStringLiteral("Москва");
    const Ladder::WrongOutcome outcome = Ladder::WrongAnswer(state, QStringLiteral("Тверь"));
    QCOMPARE(outcome.message,
             QStringLiteral("Аня, на 3 вопросе вы ответили Тверь. К сожалению это был не верный "
                            "ответ, а правильный ответ это Москва. Ваш выигрыш составил 0 рублей. Да "
                            "не расстраивайтесь, а попробуйте еще раз приступить к штурму миллиона!"));
    QCOMPARE(outcome.redMarker, 3);
}

void TestGameRules::gameClockFormat_data()
{
    QTest::addColumn<int>("ticksBefore");
    QTest::addColumn<QString>("clock");

    QTest::newRow("first tick") << 0 << "0:00.1";
    QTest::newRow("1:15.4") << 753 << "1:15.4";
    QTest::newRow("ten minutes") << 5999 << "10:00.0";
    QTest::newRow("an hour and 3.4 s") << 36033 << "60:03.4";
}

void TestGameRules::gameClockFormat()
{
    QFETCH(int, ticksBefore);
    QFETCH(QString, clock);
    GameState state;
    state.GameTicks = ticksBefore;
    QCOMPARE(Countdown::TimerTick(state, true).clock, clock);
    QCOMPARE(state.GameTicks, ticksBefore + 1);
}

void TestGameRules::countdownColoursAndWarning()
{
    GameState state;
    state.PlayerName = QStringLiteral("Аня");
    std::map<int, Countdown::Rgb> colours;
    QStringList messages;
    QList<int> shown;
    for (int tick = 1; tick <= 600; ++tick) {
        const Countdown::Tick t = Countdown::TimerTick(state, true);
        QCOMPARE(t.secondPassed, tick % 10 == 0);
        if (t.secondPassed)
            shown << t.secondsLeft;
        if (t.recolour)
            colours[t.secondsLeft] = t.colour;
        if (!t.message.isEmpty())
            messages << QStringLiteral("%1: ").arg(t.secondsLeft) + t.message;
        QCOMPARE(t.timeUp, tick == 600);
    }
    QCOMPARE(shown.size(), 60);
    QCOMPARE(shown.first(), 59);
    QCOMPARE(shown.last(), 0);
    QCOMPARE(colours.size(), std::size_t(3));
    QCOMPARE(colours[59], Countdown::Green);
    QCOMPARE(colours[40], Countdown::Yellow);
    QCOMPARE(colours[20], Countdown::Red);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0],
             QStringLiteral("20: Аня, поспешите с выбором ответа т.к. время ограничено! У вас "
                            "осталось менее 20-ти секунд!"));
    QVERIFY(messages[1].startsWith(QStringLiteral("0: Аня, ваше время истекло!")));
}

void TestGameRules::countdownPausesWhileWindowIsHeld()
{
    GameState state;
    state.SecondsLeft = 25;
    state.SecondTicks = 3;
    for (int i = 0; i < 50; ++i) {
        const Countdown::Tick t = Countdown::TimerTick(state, false);
        QVERIFY(!t.secondPassed);
        QCOMPARE(t.secondsLeft, 25);
    }
    QCOMPARE(state.GameTicks, 50);
    QCOMPARE(state.SecondTicks, 3);
    for (int i = 0; i < 6; ++i)
        Countdown::TimerTick(state, true);
    QCOMPARE(state.SecondsLeft, 25);
    const Countdown::Tick t = Countdown::TimerTick(state, true);
    QVERIFY(t.secondPassed);
    QCOMPARE(t.secondsLeft, 24);
}

void TestGameRules::timeOutAtQuestionEightKeepsWinnings()
{
    GameState state;
    state.PlayerName = QStringLiteral("Аня");
    state.QuestionNumber = 8;
    state.Winnings = 4000;
    state.CurrentQuestion = MakeQuestion(QStringLiteral("q"));
    state.CurrentQuestion.Answers[1] = QStringLiteral("Нил");
    state.SecondsLeft = 1;
    state.SecondTicks = 9;
    const Countdown::Tick t = Countdown::TimerTick(state, true);
    QVERIFY(t.timeUp);
    QCOMPARE(state.Winnings, 4000);
    QCOMPARE(MoneyLadder::StepOfWinnings(state.Winnings), 7);
    QCOMPARE(t.message,
             QStringLiteral("Аня, ваше время истекло! Вы так и не решились ответить на какой-либо из "
                            "ответов, а верный ответ был Нил Ваш выигрыш составил 4000 рублей!"));
}

void TestGameRules::takeMoneyMessages_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<int>("winnings");
    QTest::addColumn<QString>("message");

    QTest::newRow("before question 1")
        << 1 << 0
        << QStringLiteral("Аня, на 1 вопросе вы прекратили игру и забрали деньги. Вы так и не "
                          "решились что-нибудь ответить, а верный ответ был Нил. Ваш выигрыш "
                          "составил 0 рублей.");
    QTest::newRow("at question 11")
        << 11 << 32000
        << QStringLiteral("Аня, на 11 вопросе вы прекратили игру и забрали деньги. Вы так и не "
                          "решились что-нибудь ответить, а верный ответ был Нил. Ваш выигрыш "
                          "составил 32000 рублей.");
}

void TestGameRules::takeMoneyMessages()
{
    QFETCH(int, question);
    QFETCH(int, winnings);
    QFETCH(QString, message);
    GameState state;
    state.PlayerName = QStringLiteral("Аня");
    state.QuestionNumber = question;
    state.Winnings = winnings;
    state.CurrentQuestion.Answers[1] = QStringLiteral("Нил");
    QCOMPARE(HostText::TakeMoney(state), message);
}

void TestGameRules::fiftyFiftyMessage()
{
    QCOMPARE(HostText::FiftyFifty(QStringLiteral("Аня")),
             QStringLiteral("Аня, вы выбрали подсказку \"50 на 50\". Компьютер убрал два неверных "
                            "варианта. Надеюсь, что это вам поможет"));
}

void TestGameRules::loadFailureMessage()
{
    QCOMPARE(HostText::LoadFailure(QStringLiteral("Аня"), QStringLiteral("site.example")),
             QStringLiteral("Аня, по необъяснимой причине произошел сбой при чтении файла вопросной "
                            "базы. Скачайте новую вопросную базу с моего сайта site.example. "
                            "Вопросные базы это файлы с расширением *.QA и они должны находиться в "
                            "папке QA из каталога программы"));
    QCOMPARE(HostText::WriteFailure(),
             QStringLiteral("Ошибка! Невозможно произвести чтение\\запись в файлы программы!"));
}

void TestGameRules::menuPanelSlidesOutInTenTicks()
{
    int left = MenuPanel::ShownLeft;
    for (int tick = 1; tick <= 10; ++tick) {
        left = MenuPanel::Slide(left, 10);
        QCOMPARE(left, tick < 10 ? 545 + 25 * tick : 795);
    }
    QCOMPARE(MenuPanel::Slide(left, 10), 795);
}

void TestGameRules::menuPanelSlidesInInSeventeenTicks()
{
    int left = MenuPanel::HiddenLeft;
    for (int tick = 1; tick <= 17; ++tick) {
        left = MenuPanel::Slide(left, 798);
        QCOMPARE(left, tick < 17 ? 795 - 15 * tick : 545);
        QCOMPARE(left % 5, 0);
    }
    QCOMPARE(MenuPanel::Slide(left, 798), 545);
}

void TestGameRules::menuPanelStaysWhenPointerOnEdge()
{
    QCOMPARE(MenuPanel::Slide(600, 600), 600);
    QCOMPARE(MenuPanel::Slide(795, 795), 795);
}

QTEST_GUILESS_MAIN(TestGameRules)
#include "tst_gamerules.moc"
