// Whole games through the real main window: mouse events go through the
// window, the countdown is driven by calling TimerTimer, and the base file on
// disk is checked after every ending.
#include "art/Art.h"
#include "forms/AutoSizeLabel.h"
#include "player/BaseDescription.h"
#include "questionbase/BaseLoader.h"
#include "game/GameSession.h"
#include "questionbase/GameState.h"
#include "game/HostText.h"
#include "game/Ladder.h"
#include "forms/MessageBox.h"
#include "game/QuestionDraw.h"
#include "questionbase/Random.h"
#include "app/TFormMain.h"
#include "player/TFormTop5.h"
#include "widgets/TGauge.h"
#include "widgets/TLCD99.h"
#include "widgets/TThreadedTimer.h"
#include "TestBase.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QMouseEvent>
#include <QWindow>

#include <memory>

namespace {

const QString BaseName = QStringLiteral("Test.QA");
const QString BaseFilePath = QStringLiteral("QA/Test.QA");
const QString Player = QStringLiteral("Аня");

QColor TextColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestWholeGame : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Whole games, one ending each
    void gameWonToTheMillion();
    void gameLostAtQuestionSeven();
    void gameTimedOutAtQuestionEight();
    void moneyTakenAtQuestionEleven();
    void moneyTakenBeforeTheFirstAnswer();
    void windowClosedMidGame();
    void firstGameOnANewBaseShufflesOnce();

    // Answers and lifelines
    void pressedAnswerLooksPressed();
    void pressReleasedOutsideStillAnswers();
    void fiftyFiftyHidesTwoWrongAnswers();
    void removedAnswerPlaceStillAnswersWrong();
    void fiftyFiftyUsedOnceAndAnswersComeBack();
    void phoneAndAudienceMarkUsedAndShowDialogs();
    void newNameOnlyBetweenGames();

    // A press acts on what it pressed
    void doubleClickOnNewGameOnlyStartsTheGame();
    void doubleClickOnARightAnswerAnswersOnce();
    void takeMoneyHeldUntilTimeOutStartsNoGame();
    void otherButtonsNeitherPressNorAnswer_data();
    void otherButtonsNeitherPressNorAnswer();

    // Countdown and menu panel
    void countdownPausesWhileWindowIsHeld();
    void menuPanelSlidesOutAndBack();
    void menuPanelFollowsMotionEventsAndRests();

    // Loading and saving going wrong
    void unreadableBaseDoesNotStartAGame_data();
    void unreadableBaseDoesNotStartAGame();
    void baseRemovedDuringGameShowsMessage();
    void clicksDuringLoadingStartNothingTwice();

private:
    void openWindow(const BaseFileModel &base);
    QPoint centreOf(QWidget *widget) const;
    void press(QWidget *widget);
    void doubleClick(QWidget *widget);
    void releaseAt(const QPoint &point);
    void click(QWidget *widget);
    QLabel *area(int place) const;
    int correctPlace() const;
    int firstWrongPlace() const;
    void ticks(int count);
    // Answers the question on screen right after `tickCount` ticks, noting
    // which question of the level was asked.
    void answerRight(int tickCount);
    void startGame();
    bool markerShows(int position, const QString &picture) const;
    // The level's order expected on disk: the asked question moved to the back.
    QStringList rotated(const BaseFileModel &before, int level) const;
    void checkRotation(const BaseFileModel &before, const BaseFileModel &after) const;
    void checkTop5Row(int row, const QString &name, const QString &sum, const QString &time) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldDir;
    std::uint32_t m_ms = 0;
    QStringList m_messages;
    std::unique_ptr<GameSession> m_session;
    const GameState *m_state = nullptr;
    std::unique_ptr<TFormMain> m_main;
    std::unique_ptr<TFormTop5> m_top5;
    std::unique_ptr<QWidget> m_about;
    std::unique_ptr<QWidget> m_telephone;
    std::unique_ptr<QWidget> m_newName;
    std::unique_ptr<QWidget> m_man;
    QMap<int, QString> m_asked; // level -> question asked
};

void TestWholeGame::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir(QStringLiteral("QA")));
    m_messages.clear();
    m_asked.clear();
    SetMessageSinkForTests([this](const QString &text) { m_messages << text; });
    // A clock that moves on by a few milliseconds at every reseed.
    m_ms = 36'000'000;
    SystemRandom().setClock([this] { return m_ms += 7; });
}

void TestWholeGame::cleanup()
{
    m_top5.reset();
    m_about.reset();
    m_telephone.reset();
    m_newName.reset();
    m_man.reset();
    m_main.reset();
    m_state = nullptr;
    m_session.reset();
    SetMessageSinkForTests({});
    SystemRandom().setClock(&RandomGenerator::SystemMillisecondsSinceMidnight);
    QDir::setCurrent(m_oldDir);
    m_dir.reset();
}

void TestWholeGame::openWindow(const BaseFileModel &base)
{
    QVERIFY(TestBase::Write(BaseFilePath, base));
    GameState start;
    start.CurrentBaseFile = BaseName;
    start.PlayerName = Player;
    m_session = std::make_unique<GameSession>();
    m_session->Restore(start);
    m_state = &m_session->state();
    m_main = std::make_unique<TFormMain>(*m_session);
    m_top5 = std::make_unique<TFormTop5>(*m_session, *m_main);
    m_about = std::make_unique<QWidget>();
    m_telephone = std::make_unique<QWidget>();
    m_newName = std::make_unique<QWidget>();
    m_man = std::make_unique<QWidget>();
    m_main->setDialogs(m_about.get(), m_telephone.get(), m_newName.get(), m_man.get(), m_top5.get());
    // Time is driven by the test: no real tick may reach the game.
    m_main->TimerForMenu->setEnabled(false);
    m_main->Timer->setInterval(24 * 3600 * 1000);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    m_messages.clear();
}

QPoint TestWholeGame::centreOf(QWidget *widget) const
{
    // The menu panel lies over the right-hand answers while it is shown:
    // aim at the left part of an answer area, which it never covers.
    const QRect box = widget->rect();
    const bool answerArea = widget == m_main->LabelClkA || widget == m_main->LabelClkB
        || widget == m_main->LabelClkC || widget == m_main->LabelClkD;
    const QPoint inside = answerArea ? QPoint(40, box.height() / 2) : box.center();
    return widget->mapTo(m_main.get(), inside);
}

void TestWholeGame::press(QWidget *widget)
{
    QTest::mousePress(m_main->windowHandle(), Qt::LeftButton, {}, centreOf(widget));
}

void TestWholeGame::releaseAt(const QPoint &point)
{
    QTest::mouseRelease(m_main->windowHandle(), Qt::LeftButton, {}, point);
}

void TestWholeGame::doubleClick(QWidget *widget)
{
    // Press, release, and a second press that Qt reports as a double click;
    // the first release acts before the second press arrives.
    QTest::mouseDClick(m_main->windowHandle(), Qt::LeftButton, {}, centreOf(widget));
    releaseAt(centreOf(widget));
}

void TestWholeGame::click(QWidget *widget)
{
    press(widget);
    releaseAt(centreOf(widget));
}

QLabel *TestWholeGame::area(int place) const
{
    const std::array<QLabel *, 5> areas{nullptr, m_main->LabelClkA, m_main->LabelClkB,
                                        m_main->LabelClkC, m_main->LabelClkD};
    return areas[place];
}

int TestWholeGame::correctPlace() const
{
    return QuestionDraw::CorrectPlace(m_state->AnswerPos);
}

int TestWholeGame::firstWrongPlace() const
{
    return correctPlace() == 1 ? 2 : 1;
}

void TestWholeGame::ticks(int count)
{
    for (int i = 0; i < count && m_state->GameActive; ++i)
        m_main->TimerTimer();
}

void TestWholeGame::answerRight(int tickCount)
{
    QVERIFY(m_state->GameActive);
    m_asked[m_state->QuestionNumber] = m_state->CurrentQuestion.Question;
    ticks(tickCount);
    click(area(correctPlace()));
}

void TestWholeGame::startGame()
{
    click(m_main->LabelBtnNewGame);
    QVERIFY(m_state->GameActive);
    QCOMPARE(m_main->LabelBtnNewGame->text(), QStringLiteral("Забрать деньги..."));
}

bool TestWholeGame::markerShows(int position, const QString &picture) const
{
    return m_main->ImagePos[position]->pixmap().toImage() == Art::Picture(picture).toImage();
}

QStringList TestWholeGame::rotated(const BaseFileModel &before, int level) const
{
    QStringList order = TestBase::LevelOrder(before, level);
    if (m_asked.contains(level)) {
        order.removeOne(m_asked[level]);
        order.append(m_asked[level]);
    }
    return order;
}

void TestWholeGame::checkRotation(const BaseFileModel &before, const BaseFileModel &after) const
{
    for (int level = 1; level <= 15; ++level)
        QCOMPARE(TestBase::LevelOrder(after, level), rotated(before, level));
}

void TestWholeGame::checkTop5Row(int row, const QString &name, const QString &sum,
                                 const QString &time) const
{
    QCOMPARE(m_top5->LabelNames[row]->text(), name);
    QCOMPARE(m_top5->LabelScores[row]->text(), sum);
    QCOMPARE(m_top5->LabelTimes[row]->text(), time);
}

void TestWholeGame::gameWonToTheMillion()
{
    const BaseFileModel before = TestBase::Make(12, 4);
    openWindow(before);
    startGame();
    QCOMPARE(m_main->LabelNumLoad->text(), QStringLiteral("5"));
    QCOMPARE(m_main->LabelDialog->text(), Ladder::StepFor(1, Player).message);
    QVERIFY(markerShows(1, QStringLiteral("YELLOW")));

    for (int question = 1; question <= 15; ++question) {
        QCOMPARE(m_state->QuestionNumber, question);
        QCOMPARE(m_state->DifficultyTier, question <= 4 ? 1 : question <= 9 ? 2 : 3);
        answerRight(10);
        if (question < 15) {
            QCOMPARE(m_main->LabelDialog->text(), Ladder::StepFor(question + 1, Player).message);
            QCOMPARE(m_main->LabelScore->text(), QString::number(Ladder::StepFor(question + 1, Player).winnings));
            QVERIFY(markerShows(question, QStringLiteral("GREEN")));
            QVERIFY(markerShows(question + 1, QStringLiteral("YELLOW")));
        }
    }

    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_state->Winnings, 1000000);
    QCOMPARE(m_main->LabelScore->text(), QStringLiteral("1000000"));
    QCOMPARE(m_main->LabelDialog->text(), Ladder::StepFor(16, Player).message);
    QVERIFY(markerShows(15, QStringLiteral("GREEN")));
    QCOMPARE(m_main->LabelBtnNewGame->text(), QStringLiteral("Новая игра..."));
    QVERIFY(!m_main->LabelClkA->isEnabledTo(m_main->Stage));
    QVERIFY(m_main->LabelNewName->isEnabledTo(m_main->Stage));
    QCOMPARE(m_state->QuestionNumber, 1);
    QVERIFY(m_messages.isEmpty());

    QVERIFY(m_top5->isVisible());
    QVERIFY(!m_main->Stage->isEnabled());
    checkTop5Row(1, Player, QStringLiteral("1000000"), QStringLiteral("0:15.0"));
    checkTop5Row(2, QString(), QStringLiteral("0"), QStringLiteral("0:00.0"));

    bool ok = false;
    const BaseFileModel after = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 5);
    QCOMPARE(after.Leaders[0], (BestTable{Player, 15, 150}));
    QCOMPARE(after.Leaders[1], BestTable());
    QCOMPARE(after.HeaderLine, before.HeaderLine);
    checkRotation(before, after);
}

void TestWholeGame::gameLostAtQuestionSeven()
{
    const BaseFileModel before = TestBase::Make(3, 2);
    openWindow(before);
    startGame();
    for (int question = 1; question <= 6; ++question)
        answerRight(10);
    QCOMPARE(m_state->QuestionNumber, 7);
    QCOMPARE(m_state->Winnings, 2000);

    m_asked[7] = m_state->CurrentQuestion.Question;
    const int wrong = firstWrongPlace();
    const QString chosen = m_state->CurrentQuestion.Answers[m_state->AnswerPos[wrong]];
    const QString correct = m_state->CurrentQuestion.Answers[1];
    ticks(5);
    click(area(wrong));

    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_state->Winnings, 1000);
    QCOMPARE(m_main->LabelScore->text(), QStringLiteral("1000"));
    QCOMPARE(m_main->LabelDialog->text(),
             Player + QStringLiteral(", на 7 вопросе вы ответили ") + chosen
                 + QStringLiteral(". К сожалению это был не верный ответ, а правильный ответ это ")
                 + correct
                 + QStringLiteral(". Ваш выигрыш составил 1000 рублей. Да не расстраивайтесь, а "
                                  "попробуйте еще раз приступить к штурму миллиона!"));
    QVERIFY(markerShows(7, QStringLiteral("RED")));
    QVERIFY(markerShows(6, QStringLiteral("GREEN")));
    QVERIFY(m_main->LabelQuestion->text().isEmpty());
    QVERIFY(m_main->LabelAnswerA->text().isEmpty());

    QVERIFY(m_top5->isVisible());
    checkTop5Row(1, Player, QStringLiteral("1000"), QStringLiteral("0:06.5"));

    bool ok = false;
    const BaseFileModel after = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 3);
    QCOMPARE(after.Leaders[0], (BestTable{Player, 5, 65}));
    checkRotation(before, after);
}

void TestWholeGame::gameTimedOutAtQuestionEight()
{
    const BaseFileModel before = TestBase::Make(3, 1);
    openWindow(before);
    startGame();
    for (int question = 1; question <= 7; ++question)
        answerRight(20);
    QCOMPARE(m_state->QuestionNumber, 8);
    QCOMPARE(m_state->Winnings, 4000);
    m_asked[8] = m_state->CurrentQuestion.Question;
    const QString correct = m_state->CurrentQuestion.Answers[1];

    // The question left alone: green at 59, yellow at 40, red and the warning
    // at 20, then the time-out after sixty seconds.
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("60"));
    ticks(10);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("59"));
    QCOMPARE(TextColour(m_main->LabelTimer), QColor(0, 255, 0));
    ticks(180);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("41"));
    QCOMPARE(TextColour(m_main->LabelTimer), QColor(0, 255, 0));
    ticks(10);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("40"));
    QCOMPARE(TextColour(m_main->LabelTimer), QColor(255, 255, 0));
    ticks(200);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("20"));
    QCOMPARE(TextColour(m_main->LabelTimer), QColor(255, 0, 0));
    QCOMPARE(m_main->LabelDialog->text(),
             Player + QStringLiteral(", поспешите с выбором ответа т.к. время ограничено! У вас "
                                     "осталось менее 20-ти секунд!"));
    ticks(199);
    QVERIFY(m_state->GameActive);
    QCOMPARE(m_main->LCD99->Value(), QStringLiteral("1:13.9"));
    // The time runs out while an answer is held down: its release answers nothing.
    press(area(correctPlace()));
    QVERIFY(m_main->ImageAnswerA->isVisible() || m_main->ImageAnswerB->isVisible()
            || m_main->ImageAnswerC->isVisible() || m_main->ImageAnswerD->isVisible());
    ticks(1);
    releaseAt(centreOf(area(correctPlace())));
    QVERIFY(!m_main->ImageAnswerA->isVisible() && !m_main->ImageAnswerB->isVisible()
            && !m_main->ImageAnswerC->isVisible() && !m_main->ImageAnswerD->isVisible());
    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("0"));
    QCOMPARE(m_state->Winnings, 4000);
    QCOMPARE(m_main->LabelDialog->text(),
             Player + QStringLiteral(", ваше время истекло! Вы так и не решились ответить на "
                                     "какой-либо из ответов, а верный ответ был ")
                 + correct + QStringLiteral(" Ваш выигрыш составил 4000 рублей!"));
    QVERIFY(!m_main->Timer->Enabled());
    QCOMPARE(m_state->SecondsLeft, 60);
    QCOMPARE(m_state->SecondTicks, 0);

    // No answer can be given afterwards.
    click(area(1));
    QCOMPARE(m_state->Winnings, 4000);

    const int gameTicks = 7 * 20 + 600;
    checkTop5Row(1, Player, QStringLiteral("4000"), QStringLiteral("1:14.0"));
    bool ok = false;
    const BaseFileModel after = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 2);
    QCOMPARE(after.Leaders[0], (BestTable{Player, 7, gameTicks}));
    checkRotation(before, after);
}

void TestWholeGame::moneyTakenAtQuestionEleven()
{
    BaseFileModel before = TestBase::Make(3, 7);
    before.Leaders[0] = BestTable{QStringLiteral("Борис"), 12, 900};
    before.Leaders[1] = BestTable{QStringLiteral("Вера"), 10, 500};
    before.Leaders[2] = BestTable{QStringLiteral("Глеб"), 3, 100};
    openWindow(before);
    startGame();
    for (int question = 1; question <= 10; ++question)
        answerRight(10);
    QCOMPARE(m_state->QuestionNumber, 11);
    m_asked[11] = m_state->CurrentQuestion.Question;
    const QString correct = m_state->CurrentQuestion.Answers[1];

    press(m_main->LabelBtnNewGame);
    QVERIFY(m_main->ImageNewGame->isVisible());
    releaseAt(centreOf(m_main->LabelBtnNewGame));
    QVERIFY(!m_main->ImageNewGame->isVisible());

    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_state->Winnings, 32000);
    QCOMPARE(m_main->LabelDialog->text(),
             Player + QStringLiteral(", на 11 вопросе вы прекратили игру и забрали деньги. Вы так и "
                                     "не решились что-нибудь ответить, а верный ответ был ")
                 + correct + QStringLiteral(". Ваш выигрыш составил 32000 рублей."));

    // Equal steps: the faster game ranks higher.
    checkTop5Row(1, QStringLiteral("Борис"), QStringLiteral("125000"), QStringLiteral("1:30.0"));
    checkTop5Row(2, Player, QStringLiteral("32000"), QStringLiteral("0:10.0"));
    checkTop5Row(3, QStringLiteral("Вера"), QStringLiteral("32000"), QStringLiteral("0:50.0"));
    checkTop5Row(4, QStringLiteral("Глеб"), QStringLiteral("300"), QStringLiteral("0:10.0"));

    bool ok = false;
    const BaseFileModel after = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 8);
    QCOMPARE(after.Leaders[1], (BestTable{Player, 10, 100}));
    QCOMPARE(after.Leaders[2], before.Leaders[1]);
    checkRotation(before, after);
}

void TestWholeGame::moneyTakenBeforeTheFirstAnswer()
{
    const BaseFileModel before = TestBase::Make(3, 1);
    openWindow(before);
    startGame();
    m_asked[1] = m_state->CurrentQuestion.Question;
    const QString correct = m_state->CurrentQuestion.Answers[1];
    click(m_main->LabelBtnNewGame);

    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_main->LabelDialog->text(),
             Player + QStringLiteral(", на 1 вопросе вы прекратили игру и забрали деньги. Вы так и "
                                     "не решились что-нибудь ответить, а верный ответ был ")
                 + correct + QStringLiteral(". Ваш выигрыш составил 0 рублей."));
    // Nothing won never ranks above an empty entry: the board stays empty.
    checkTop5Row(1, QString(), QStringLiteral("0"), QStringLiteral("0:00.0"));
    bool ok = false;
    const BaseFileModel after = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 2);
    for (const BestTable &entry : after.Leaders)
        QCOMPARE(entry, BestTable());
    checkRotation(before, after);
}

void TestWholeGame::windowClosedMidGame()
{
    const BaseFileModel before = TestBase::Make(3, 1);
    openWindow(before);
    startGame();
    for (int question = 1; question <= 3; ++question)
        answerRight(10);
    m_asked[4] = m_state->CurrentQuestion.Question;
    ticks(4);

    click(m_main->LabelBtnClose);
    QVERIFY(!m_main->isVisible());
    QVERIFY(!m_state->GameActive);
    QVERIFY(m_top5->isVisibleTo(m_main.get())); // shown on the window as it closed
    checkTop5Row(1, Player, QStringLiteral("300"), QStringLiteral("0:03.4"));

    bool ok = false;
    const BaseFileModel after = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(after.GamesPlayed, 2);
    QCOMPARE(after.Leaders[0], (BestTable{Player, 3, 34}));
    checkRotation(before, after);
}

void TestWholeGame::firstGameOnANewBaseShufflesOnce()
{
    const BaseFileModel before = TestBase::Make(6, 0);
    openWindow(before);
    startGame();
    QCOMPARE(m_main->LabelNumLoad->text(), QStringLiteral("1"));
    click(m_main->LabelBtnNewGame);
    m_top5->hide();
    QVERIFY(m_main->Stage->isEnabled());

    bool ok = false;
    const BaseFileModel first = TestBase::Read(BaseFilePath, &ok);
    QVERIFY(ok);
    QCOMPARE(first.GamesPlayed, 1);
    bool anyMoved = false;
    for (int level = 1; level <= 15; ++level) {
        QStringList was = TestBase::LevelOrder(before, level);
        QStringList now = TestBase::LevelOrder(first, level);
        anyMoved = anyMoved || was != now;
        was.sort();
        now.sort();
        QCOMPARE(now, was);
    }
    QVERIFY(anyMoved);

    // The second game reads the stored order back without shuffling it.
    m_asked.clear();
    startGame();
    QCOMPARE(m_main->LabelNumLoad->text(), QStringLiteral("2"));
    m_asked[1] = m_state->CurrentQuestion.Question;
    for (int level = 1; level <= 15; ++level) {
        QStringList inMemory;
        for (int i = 1; i <= m_state->LevelCounts[level]; ++i)
            inMemory << m_state->Question(m_state->LevelQuestions[level][i]).Question;
        QCOMPARE(inMemory, rotated(first, level));
    }
}

void TestWholeGame::pressedAnswerLooksPressed()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    const std::array<QLabel *, 5> highlights{nullptr, m_main->ImageAnswerA, m_main->ImageAnswerB,
                                             m_main->ImageAnswerC, m_main->ImageAnswerD};
    const std::array<QLabel *, 5> letters{nullptr, m_main->LabelA, m_main->LabelB, m_main->LabelC,
                                          m_main->LabelD};
    const int place = correctPlace();
    press(area(place));
    QVERIFY(highlights[place]->isVisible());
    QCOMPARE(TextColour(letters[place]), QColor(255, 255, 255));
    for (int other = 1; other <= 4; ++other) {
        if (other != place)
            QVERIFY(!highlights[other]->isVisible());
    }
    QCOMPARE(m_state->QuestionNumber, 1);
    releaseAt(centreOf(area(place)));
    QVERIFY(!highlights[place]->isVisible());
    QCOMPARE(TextColour(letters[place]), QColor(251, 152, 0));
    QCOMPARE(m_state->QuestionNumber, 2);
}

void TestWholeGame::pressReleasedOutsideStillAnswers()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    press(area(correctPlace()));
    releaseAt(centreOf(m_main->LabelDialog));
    QCOMPARE(m_state->QuestionNumber, 2);
    QCOMPARE(m_state->Winnings, 100);

    // A wrong answer released over the right one still counts as the wrong one.
    const int wrong = firstWrongPlace();
    const int right = correctPlace();
    press(area(wrong));
    releaseAt(centreOf(area(right)));
    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_state->Winnings, 0);
}

void TestWholeGame::fiftyFiftyHidesTwoWrongAnswers()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    const int correct = correctPlace();
    click(m_main->LabelPrompt50);

    QVERIFY(!m_main->LabelPrompt50->isEnabledTo(m_main->Stage));
    QVERIFY(m_main->ImagePrompt50->isVisible());
    QVERIFY(m_state->FiftyHide1 != correct && m_state->FiftyHide2 != correct);
    const std::array<QLabel *, 5> answers{nullptr, m_main->LabelAnswerA, m_main->LabelAnswerB,
                                          m_main->LabelAnswerC, m_main->LabelAnswerD};
    int visible = 0;
    for (int place = 1; place <= 4; ++place) {
        const bool hidden = place == m_state->FiftyHide1 || place == m_state->FiftyHide2;
        QCOMPARE(answers[place]->isVisible(), !hidden);
        visible += answers[place]->isVisible() ? 1 : 0;
        // The area itself stays usable.
        QVERIFY(area(place)->isEnabledTo(m_main->Stage));
    }
    QCOMPARE(visible, 2);
    QCOMPARE(m_main->LabelDialog->text(), HostText::FiftyFifty(Player));
}

void TestWholeGame::removedAnswerPlaceStillAnswersWrong()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    click(m_main->LabelPrompt50);
    const int removed = m_state->FiftyHide1;
    const QString removedText = m_state->CurrentQuestion.Answers[m_state->AnswerPos[removed]];
    click(area(removed));
    QVERIFY(!m_state->GameActive);
    QVERIFY(m_main->LabelDialog->text().startsWith(
        Player + QStringLiteral(", на 1 вопросе вы ответили ") + removedText + QLatin1Char('.')));
    QVERIFY(markerShows(1, QStringLiteral("RED")));
    // The game is over: the crosses go, every answer place is shown again.
    QVERIFY(!m_main->ImagePrompt50->isVisible());
    QVERIFY(m_main->LabelAnswerA->isVisible() && m_main->LabelAnswerB->isVisible()
            && m_main->LabelAnswerC->isVisible() && m_main->LabelAnswerD->isVisible());
    m_top5->hide();
    startGame();
    QVERIFY(m_main->LabelPrompt50->isEnabledTo(m_main->Stage));
}

void TestWholeGame::fiftyFiftyUsedOnceAndAnswersComeBack()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    answerRight(0);
    answerRight(0);
    QCOMPARE(m_state->QuestionNumber, 3);
    click(m_main->LabelPrompt50);
    answerRight(0);
    QCOMPARE(m_state->QuestionNumber, 4);
    QVERIFY(m_main->LabelAnswerA->isVisible() && m_main->LabelAnswerB->isVisible()
            && m_main->LabelAnswerC->isVisible() && m_main->LabelAnswerD->isVisible());
    QVERIFY(!m_main->LabelPrompt50->isEnabledTo(m_main->Stage));
    const QString before = m_main->LabelDialog->text();
    click(m_main->LabelPrompt50);
    QCOMPARE(m_main->LabelDialog->text(), before);
}

void TestWholeGame::phoneAndAudienceMarkUsedAndShowDialogs()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    click(m_main->LabelPromptTel);
    QVERIFY(m_main->ImagePromptTel->isVisible());
    QVERIFY(!m_main->LabelPromptTel->isEnabledTo(m_main->Stage));
    QVERIFY(m_telephone->isVisible());
    click(m_main->LabelPromptMan);
    QVERIFY(m_main->ImagePromptMan->isVisible());
    QVERIFY(!m_main->LabelPromptMan->isEnabledTo(m_main->Stage));
    QVERIFY(m_man->isVisible());
    QVERIFY(m_main->LabelPrompt50->isEnabledTo(m_main->Stage));
}

void TestWholeGame::newNameOnlyBetweenGames()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    QVERIFY(!m_main->LabelNewName->isEnabledTo(m_main->Stage));
    click(m_main->LabelNewName);
    QVERIFY(!m_newName->isVisible());
    click(m_main->LabelBtnNewGame);
    m_top5->hide();
    QVERIFY(m_main->LabelNewName->isEnabledTo(m_main->Stage));
    click(m_main->LabelNewName);
    QVERIFY(m_newName->isVisible());
}

void TestWholeGame::doubleClickOnNewGameOnlyStartsTheGame()
{
    openWindow(TestBase::Make(3, 1));
    doubleClick(m_main->LabelBtnNewGame);
    QVERIFY(m_state->GameActive);
    QCOMPARE(m_main->LabelBtnNewGame->text(), QStringLiteral("Забрать деньги..."));
    QVERIFY(m_main->ImageNewGame->isHidden());
    QVERIFY(m_top5->isHidden());
}

void TestWholeGame::doubleClickOnARightAnswerAnswersOnce()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    doubleClick(area(correctPlace()));
    QVERIFY(m_state->GameActive);
    QCOMPARE(m_state->QuestionNumber, 2);
    QVERIFY(m_main->ImageAnswerA->isHidden() && m_main->ImageAnswerB->isHidden()
            && m_main->ImageAnswerC->isHidden() && m_main->ImageAnswerD->isHidden());
}

void TestWholeGame::takeMoneyHeldUntilTimeOutStartsNoGame()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    press(m_main->LabelBtnNewGame);
    ticks(600); // the time runs out under the held button
    QVERIFY(!m_state->GameActive);
    m_top5->hide();
    releaseAt(centreOf(m_main->LabelBtnNewGame));
    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_main->LabelBtnNewGame->text(), QStringLiteral("Новая игра..."));
    QVERIFY(m_main->ImageNewGame->isHidden());
}

void TestWholeGame::otherButtonsNeitherPressNorAnswer_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestWholeGame::otherButtonsNeitherPressNorAnswer()
{
    QFETCH(Qt::MouseButton, button);
    openWindow(TestBase::Make(3, 1));
    startGame();
    const QPoint at = centreOf(area(correctPlace()));
    QTest::mousePress(m_main->windowHandle(), button, {}, at);
    QVERIFY(m_main->ImageAnswerA->isHidden() && m_main->ImageAnswerB->isHidden()
            && m_main->ImageAnswerC->isHidden() && m_main->ImageAnswerD->isHidden());
    QTest::mouseRelease(m_main->windowHandle(), button, {}, at);
    QCOMPARE(m_state->QuestionNumber, 1);
    QVERIFY(m_state->GameActive);
}

void TestWholeGame::countdownPausesWhileWindowIsHeld()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    QCOMPARE(m_main->LCD99->Value(), QStringLiteral("0:00.0"));
    ticks(5);
    QWidget dialog;
    m_main->holdFor(&dialog);
    ticks(30);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("60"));
    QCOMPARE(m_main->LCD99->Value(), QStringLiteral("0:03.5"));
    m_main->releaseFrom(&dialog);
    ticks(4);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("60"));
    ticks(1);
    QCOMPARE(m_main->LabelTimer->text(), QStringLiteral("59"));
}

void TestWholeGame::menuPanelSlidesOutAndBack()
{
    openWindow(TestBase::Make(1, 1));
    QCOMPARE(m_main->PanelMenu->x(), 545);
    QCursor::setPos(m_main->Stage->mapToGlobal(QPoint(10, 300)));
    QCOMPARE(m_main->CursorOnStage().x(), 10);
    for (int tick = 1; tick <= 9; ++tick)
        m_main->TimerForMenuTimer();
    QCOMPARE(m_main->PanelMenu->x(), 770);
    m_main->TimerForMenuTimer();
    QCOMPARE(m_main->PanelMenu->x(), 795);

    QCursor::setPos(m_main->Stage->mapToGlobal(QPoint(797, 300)));
    for (int tick = 1; tick <= 16; ++tick)
        m_main->TimerForMenuTimer();
    QCOMPARE(m_main->PanelMenu->x(), 555);
    m_main->TimerForMenuTimer();
    QCOMPARE(m_main->PanelMenu->x(), 545);
}

void TestWholeGame::menuPanelFollowsMotionEventsAndRests()
{
    openWindow(TestBase::Make(1, 1));
    TThreadedTimer *timer = m_main->TimerForMenu;
    QWindow *window = m_main->windowHandle();
    // A motion as the window system reports it to the window.
    const auto moveTo = [this, window](int x) {
        const QPoint global = m_main->Stage->mapToGlobal(QPoint(x, 300));
        QMouseEvent motion(QEvent::MouseMove, window->mapFromGlobal(global), global, Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &motion);
    };
    // The window system keeps the pointer on the stage's left edge: only the
    // motion events below say that it moves.
    QCursor::setPos(m_main->Stage->mapToGlobal(QPoint(10, 300)));
    timer->setEnabled(true);
    QTRY_COMPARE(m_main->PanelMenu->x(), 795);
    QTRY_VERIFY(timer->Resting());
    QVERIFY(timer->Enabled());

    // A move that leaves the hidden panel where it is does not wake it.
    moveTo(400);
    QVERIFY(timer->Resting());

    std::uint64_t ticksBefore = timer->TickCount();
    moveTo(797);
    QTRY_VERIFY(timer->Resting());
    QCOMPARE(m_main->PanelMenu->x(), 545);
    QCOMPARE(timer->TickCount() - ticksBefore, 17u);

    ticksBefore = timer->TickCount();
    moveTo(300);
    QTRY_VERIFY(timer->Resting());
    QCOMPARE(m_main->PanelMenu->x(), 795);
    QCOMPARE(timer->TickCount() - ticksBefore, 10u);

    // Once the pointer has left the window its moves come as no events: the
    // ticks ask the window system again, which still has it on the left.
    moveTo(797);
    QTRY_VERIFY(timer->Resting());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window, &leave);
    QVERIFY(!timer->Resting());
    QTRY_VERIFY(timer->Resting());
    QCOMPARE(m_main->PanelMenu->x(), 795);

    // Right of the window, where no motion event comes, the window system is
    // asked now and then: the panel still follows, and rests between looks.
    const QRect shown = window->geometry();
    QCursor::setPos(QPoint(shown.right() + 100, m_main->Stage->mapToGlobal(QPoint(0, 300)).y()));
    QTRY_COMPARE(m_main->PanelMenu->x(), 545);
    QTRY_VERIFY(timer->Resting());
    QCursor::setPos(QPoint(shown.left() - 100, m_main->Stage->mapToGlobal(QPoint(0, 300)).y()));
    QTRY_COMPARE(m_main->PanelMenu->x(), 795);
}

void TestWholeGame::unreadableBaseDoesNotStartAGame_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("present");

    BaseFileModel emptyLevel = TestBase::Make(3, 1);
    emptyLevel.Levels[8].clear();
    QTest::newRow("a level without questions") << SerializeBaseFile(emptyLevel) << true;

    QList<QByteArray> lines = SerializeBaseFile(TestBase::Make(3, 1)).split('\n');
    lines[4] = QByteArray("3\x13" "3\x13" "x\r");
    QTest::newRow("a letter in the level counts") << lines.join('\n') << true;

    QTest::newRow("no base file") << QByteArray() << false;
}

void TestWholeGame::unreadableBaseDoesNotStartAGame()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, present);

    openWindow(TestBase::Make(3, 1));
    if (present) {
        QFile file(BaseFilePath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    } else {
        QVERIFY(QFile::remove(BaseFilePath));
    }
    click(m_main->LabelBtnNewGame);

    QVERIFY(!m_state->GameActive);
    QVERIFY(m_main->LabelDialog->text().startsWith(
        Player + QStringLiteral(", по необъяснимой причине произошел сбой при чтении файла "
                                "вопросной базы. Скачайте новую вопросную базу с моего сайта ")));
    QVERIFY(m_main->LabelDialog->text().endsWith(
        QStringLiteral(". Вопросные базы это файлы с расширением *.QA и они должны находиться в "
                       "папке QA из каталога программы")));
    QCOMPARE(m_main->LabelBtnNewGame->text(), QStringLiteral("Новая игра..."));
    QVERIFY(m_main->LabelBtnNewGame->isEnabledTo(m_main->Stage));
    QVERIFY(m_main->LabelNewName->isEnabledTo(m_main->Stage));
    QVERIFY(!m_main->LabelClkA->isEnabledTo(m_main->Stage));
    QVERIFY(!m_main->LabelPrompt50->isEnabledTo(m_main->Stage));
    QVERIFY(!m_main->Timer->Enabled());
    QVERIFY(!m_main->GaugeLoad->isVisible());
    QVERIFY(!m_main->LabelLoad->isVisible());
    QVERIFY(m_main->LabelQuestion->text().isEmpty());
    QVERIFY(!m_top5->isVisible());
    // With no base left in QA/ the player is also told what a base is and where it goes.
    if (present)
        QVERIFY(m_messages.isEmpty());
    else
        QCOMPARE(m_messages, QStringList{NoBasesMessage(QDir(QStringLiteral("QA")).absolutePath())});
    // The base is left exactly as it was.
    QCOMPARE(QFile::exists(BaseFilePath), present);
    if (present)
        QCOMPARE(FileBytes(BaseFilePath), bytes);
}

void TestWholeGame::baseRemovedDuringGameShowsMessage()
{
    openWindow(TestBase::Make(3, 1));
    startGame();
    answerRight(10);
    QVERIFY(QFile::remove(BaseFilePath));
    click(m_main->LabelBtnNewGame);

    QCOMPARE(m_messages, QStringList{HostText::WriteFailure()});
    QVERIFY(!m_top5->isVisible());
    QVERIFY(!m_state->GameActive);
    QCOMPARE(m_main->LabelBtnNewGame->text(), QStringLiteral("Новая игра..."));
    QVERIFY(m_main->LabelBtnNewGame->isEnabledTo(m_main->Stage));
    QVERIFY(m_main->LabelNewName->isEnabledTo(m_main->Stage));
    QVERIFY(!m_main->GaugeLoad->isVisible());
    QVERIFY(m_main->Stage->isEnabled());
    QVERIFY(!QFile::exists(BaseFilePath));
    QCOMPARE(QDir(QStringLiteral("QA")).entryList(QDir::Files), QStringList());
}

void TestWholeGame::clicksDuringLoadingStartNothingTwice()
{
    const BaseFileModel before = TestBase::Make(40, 1);
    openWindow(before);
    bool ranDuringLoad = false;
    bool buttonWasEnabled = true;
    int gaugeSeen = -1;
    press(m_main->LabelBtnNewGame);
    // Runs from the event processing inside the loading.
    QTimer::singleShot(0, m_main.get(), [&] {
        ranDuringLoad = true;
        buttonWasEnabled = m_main->LabelBtnNewGame->isEnabledTo(m_main->Stage);
        gaugeSeen = m_main->GaugeLoad->isVisible() ? m_main->GaugeLoad->Progress() : -1;
        click(m_main->LabelBtnNewGame);
        click(m_main->LabelNewName);
    });
    releaseAt(centreOf(m_main->LabelBtnNewGame));

    QVERIFY(ranDuringLoad);
    QVERIFY(!buttonWasEnabled);
    QVERIFY(gaugeSeen >= 0);
    QVERIFY(m_state->GameActive);
    QCOMPARE(m_state->QuestionNumber, 1);
    QVERIFY(!m_newName->isVisible());
    // One draw happened: level 1 rotated exactly once, the other levels as stored.
    m_asked[1] = m_state->CurrentQuestion.Question;
    for (int level = 1; level <= 15; ++level) {
        QStringList inMemory;
        for (int i = 1; i <= m_state->LevelCounts[level]; ++i)
            inMemory << m_state->Question(m_state->LevelQuestions[level][i]).Question;
        QCOMPARE(inMemory, rotated(before, level));
    }
}

QTEST_MAIN(TestWholeGame)
#include "tst_wholegame.moc"
