// What the player hears of a game: the cues that the session's turns play,
// in order, for every way a game can go.
#include "game/GameSession.h"
#include "game/QuestionDraw.h"
#include "app/ShowSound.h"
#include "TestBase.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestShowSound : public QObject {
    Q_OBJECT

private slots:
    void eachTurnSoundsItsCue_data();
    void eachTurnSoundsItsCue();
};

namespace {

enum class Ending { Wrong, TakeMoney, TimeOut, Million };

QStringList repeated(const QString &cue, int times)
{
    QStringList cues;
    for (int i = 0; i < times; ++i)
        cues << cue;
    return cues;
}

} // namespace

void TestShowSound::eachTurnSoundsItsCue_data()
{
    QTest::addColumn<int>("rightAnswers");
    QTest::addColumn<QString>("lifeline");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<QStringList>("heard");

    const QString leaderboard = QStringLiteral("leaderboard");
    QTest::newRow("wrong at question 2")
        << 1 << QString() << Ending::Wrong
        << QStringList{"question1", "right", "question1", "wrong", leaderboard};
    QTest::newRow("money taken after fifty-fifty")
        << 0 << "fifty" << Ending::TakeMoney << QStringList{"question1", "fifty", "takemoney", leaderboard};
    QTest::newRow("time out with a tick in each of the last 20 seconds after the audience")
        << 0 << "audience" << Ending::TimeOut
        << (QStringList{"question1", "audience"} + repeated("tick", 20) + QStringList{"timeout", leaderboard});
    QStringList million;
    // Questions 1-4 are of the first tier, 5-9 of the second, 10-15 of the third.
    for (int question = 1; question <= 15; ++question)
        million << QStringLiteral("question%1").arg(question < 5 ? 1 : question < 10 ? 2 : 3)
                << (question < 15 ? "right" : "million");
    QTest::newRow("the million after a phone call") << 15 << "phonering" << Ending::Million
                                                   << (QStringList{million.first(), "phonering"}
                                                       + million.mid(1) + QStringList{leaderboard});
}

void TestShowSound::eachTurnSoundsItsCue()
{
    QFETCH(int, rightAnswers);
    QFETCH(QString, lifeline);
    QFETCH(Ending, ending);
    QFETCH(QStringList, heard);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QVERIFY(QDir().mkdir(QStringLiteral("QA")));
    QVERIFY(TestBase::Write(QStringLiteral("QA/Test.QA"), TestBase::Make(3, 1)));

    GameSession session;
    QStringList cues;
    ConnectShowSound(session, &session, [&cues](SoundCue cue) { cues << QString::fromLatin1(SoundCueName(cue)); });
    session.ChooseBase(QStringLiteral("Test.QA"));
    session.NamePlayer(QStringLiteral("Аня"), QStringLiteral("Проверочная база"), 45);
    const GameState &state = session.state();
    session.NewGameOrTakeMoney();
    const bool started = state.GameActive;

    if (lifeline == "fifty")
        session.UseLifeline(GameSession::Lifeline::FiftyFifty);
    else if (lifeline == "audience")
        session.UseLifeline(GameSession::Lifeline::Audience);
    else if (lifeline == "phonering")
        session.UseLifeline(GameSession::Lifeline::Telephone);
    for (int answer = 0; answer < rightAnswers; ++answer)
        session.Answer(QuestionDraw::CorrectPlace(state.AnswerPos));
    switch (ending) {
    case Ending::Wrong:
        session.Answer(QuestionDraw::CorrectPlace(state.AnswerPos) == 1 ? 2 : 1);
        break;
    case Ending::TakeMoney:
        session.NewGameOrTakeMoney();
        break;
    case Ending::TimeOut:
        for (int tick = 0; tick < 700 && state.GameActive; ++tick)
            session.TimerTick(true);
        break;
    case Ending::Million:
        break;
    }
    QDir::setCurrent(previous);

    QVERIFY(started);
    QVERIFY(!state.GameActive);
    QCOMPARE(cues, heard);
}

QTEST_GUILESS_MAIN(TestShowSound)
#include "tst_showsound.moc"
