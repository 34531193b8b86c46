// Whole games through the game session alone, with no window: the player's
// choices go in as calls, the screen's changes come out as signals, and the
// base file on disk is checked after every ending.
#include "game/GameIO.h"
#include "game/GameSession.h"
#include "questionbase/MoneyLadder.h"
#include "game/QuestionDraw.h"
#include "questionbase/Random.h"
#include "TestBase.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Player = QStringLiteral("Аня");

// The game's own files, with the window's event processing counted instead.
class CountingIO : public FileGameIO {
public:
    void ProcessEvents() override { ++events; }
    int events = 0;
};

enum class Ending { WrongAnswer, TakeMoney, TimeOut, Million };

} // namespace

class TestGameSession : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wholeGame_data();
    void wholeGame();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::uint32_t m_ms = 0;
};

void TestGameSession::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir(QStringLiteral("QA")));
}

void TestGameSession::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void TestGameSession::wholeGame_data()
{
    QTest::addColumn<int>("rightAnswers");
    QTest::addColumn<bool>("fiftyFifty");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<int>("winnings");
    QTest::addColumn<QString>("lastWords");

    QTest::newRow("wrong answer at question 7 keeps 1000")
        << 6 << false << Ending::WrongAnswer << 1000 << "Аня, на 7 вопросе вы ответили Неверно 7.";
    QTest::newRow("money taken at question 3")
        << 2 << false << Ending::TakeMoney << 200 << "Аня, на 3 вопросе вы прекратили игру";
    QTest::newRow("time out at question 2 keeps the whole prize")
        << 1 << false << Ending::TimeOut << 100 << "Аня, ваше время истекло!";
    QTest::newRow("the million") << 15 << false << Ending::Million << 1000000 << "";
    QTest::newRow("fifty-fifty, then a wrong answer at question 6")
        << 5 << true << Ending::WrongAnswer << 1000 << "Аня, на 6 вопросе вы ответили Неверно 6.";
}

void TestGameSession::wholeGame()
{
    QFETCH(int, rightAnswers);
    QFETCH(bool, fiftyFifty);
    QFETCH(Ending, ending);
    QFETCH(int, winnings);
    QFETCH(QString, lastWords);

    QVERIFY(TestBase::Write(QStringLiteral("QA/Test.QA"), TestBase::Make(3, 1)));
    CountingIO io;
    m_ms = 36'000'000;
    RandomGenerator random([this] { return m_ms += 7; });
    GameSession session(io, random);
    const GameState &state = session.state();
    session.ChooseBase(QStringLiteral("Test.QA"));
    session.NamePlayer(Player, QStringLiteral("Проверочная база (Test.QA)"), 45);

    QSignalSpy said(&session, &GameSession::hostSaid);
    QSignalSpy started(&session, &GameSession::gameStarted);
    QSignalSpy questions(&session, &GameSession::questionShown);
    QSignalSpy removed(&session, &GameSession::answerRemoved);
    QSignalSpy markers(&session, &GameSession::markerChanged);
    QSignalSpy leaderboard(&session, &GameSession::leaderboardReady);
    QSignalSpy finished(&session, &GameSession::gameFinished);
    QSignalSpy failures(&session, &GameSession::failureShown);

    int ticks = 0;
    const auto tick = [&] {
        if (state.GameActive)
            ++ticks;
        session.TimerTick(true);
    };

    session.NewGameOrTakeMoney();
    QVERIFY(state.GameActive);
    QCOMPARE(started.count(), 1);
    const int eventsWhileLoading = io.events;
    QVERIFY2(eventsWhileLoading >= 45, "the window gets its events after every question read");

    for (int answer = 0; answer < rightAnswers; ++answer) {
        tick();
        tick();
        session.Answer(QuestionDraw::CorrectPlace(state.AnswerPos));
    }
    if (fiftyFifty) {
        QVERIFY(session.UseLifeline(GameSession::Lifeline::FiftyFifty));
        QCOMPARE(removed.count(), 2);
        const int correct = QuestionDraw::CorrectPlace(state.AnswerPos);
        const int first = removed.at(0).at(0).toInt();
        const int second = removed.at(1).at(0).toInt();
        QVERIFY(first != second && first != correct && second != correct);
    }
    switch (ending) {
    case Ending::WrongAnswer: {
        const int correct = QuestionDraw::CorrectPlace(state.AnswerPos);
        session.Answer(correct == 1 ? 2 : 1);
        break;
    }
    case Ending::TakeMoney:
        session.NewGameOrTakeMoney();
        break;
    case Ending::TimeOut:
        for (int t = 0; t < 600 && state.GameActive; ++t)
            tick();
        break;
    case Ending::Million:
        break;
    }

    QVERIFY(!state.GameActive);
    QCOMPARE(state.Winnings, winnings);
    QCOMPARE(questions.count(), std::min(rightAnswers + 1, 15));
    if (!lastWords.isEmpty())
        QVERIFY2(said.last().at(0).toString().startsWith(lastWords), qPrintable(said.last().at(0).toString()));
    if (ending == Ending::Million)
        QCOMPARE(markers.last(), (QVariantList{15, QStringLiteral("GREEN")}));
    if (ending == Ending::WrongAnswer)
        QCOMPARE(markers.last(), (QVariantList{rightAnswers + 1, QStringLiteral("RED")}));

    // Back between games, with the result shown and written down.
    QCOMPARE(leaderboard.count(), 1);
    QCOMPARE(finished.count(), 1);
    QVERIFY(failures.isEmpty());
    QCOMPARE(state.QuestionNumber, 1);
    QCOMPARE(state.GameTicks, 0);
    QCOMPARE(state.SecondsLeft, 60);
    QVERIFY2(io.events - eventsWhileLoading >= 45, "the window gets its events after every question written");
    const BestTable expected{Player, MoneyLadder::StepOfWinnings(winnings), ticks};
    QCOMPARE(state.Leaders[1], expected);
    bool ok = false;
    const BaseFileModel after = TestBase::Read(QStringLiteral("QA/Test.QA"), &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 2);
    QCOMPARE(after.Leaders[0], expected);
    QVERIFY(session.BetweenGames());
}

QTEST_GUILESS_MAIN(TestGameSession)
#include "tst_gamesession.moc"
