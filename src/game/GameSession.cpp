#include "game/GameSession.h"

#include "player/BaseDescription.h"
#include "game/GameIO.h"
#include "game/HostText.h"
#include "questionbase/MoneyLadder.h"
#include "player/PlayerRules.h"
#include "game/QuestionDraw.h"
#include "questionbase/Random.h"

GameSession::GameSession(QObject *parent)
    : QObject(parent)
    , m_ownIO(std::make_unique<FileGameIO>())
    , m_io(*m_ownIO)
    , m_random(SystemRandom())
{
}

GameSession::GameSession(GameIO &io, RandomGenerator &random, QObject *parent)
    : QObject(parent), m_io(io), m_random(random)
{
}

GameSession::~GameSession() = default;

// ---- The player and the base ----------------------------------------------

void GameSession::ChooseBase(const QString &fileName)
{
    m_state.CurrentBaseFile = fileName;
}

void GameSession::DescribeLevels(const std::array<std::int32_t, 16> &levelCounts)
{
    // A running game sized its question lists by these counts: leave them be.
    if (m_state.GameActive)
        return;
    for (int level = 1; level <= GameState::Levels; ++level)
        m_state.LevelCounts[level] = levelCounts[level];
}

void GameSession::NamePlayer(const QString &typed, const QString &baseCaption, qint64 totalQuestions)
{
    m_state.PlayerName = typed.isEmpty() ? Anonymous : typed.left(PlayerRules::MaxNameLength);
    emit hostSaid(HostText::Greeting(m_state.PlayerName));
    emit baseSummaryShown(baseCaption + QStringLiteral(". Всего вопросов: ") + QString::number(totalQuestions)
                          + QStringLiteral("."));
    emit boardCleared();
}

void GameSession::AnnouncePlayer()
{
    emit playerAnnounced(QStringLiteral("Играет ") + m_state.PlayerName);
}

// ---- Loading and saving ---------------------------------------------------

void GameSession::ShowProgress(qint64 processed, qint64 total)
{
    emit progressMoved(GaugeValue(processed, total));
    if (!m_unattended)
        m_io.ProcessEvents();
}

void GameSession::SetMarker(int position, Ladder::Marker marker)
{
    if (position >= 1 && position <= 15)
        emit markerChanged(position, Ladder::MarkerPicture(marker));
}

void GameSession::BeginGame()
{
    if (m_busy || m_state.GameActive)
        return;
    m_busy = true;
    const auto progress = [this](qint64 processed, qint64 total) { ShowProgress(processed, total); };

    emit progressStarted();
    emit progressCaption(QStringLiteral("Загрузка вопросной базы..."));
    // The new-game dialog reads bases too; keep it closed while this one loads.
    emit newNameAllowed(false);

    std::int32_t gamesPlayed = 0;
    const std::optional<BaseFailure> failure =
        m_io.LoadBase(m_state.CurrentBaseFile, m_state, &gamesPlayed, progress);

    if (failure || m_closed) {
        // No game on a base that did not load whole: the window stays between games.
        if (failure)
            emit hostSaid(HostText::LoadFailure(m_state.PlayerName, m_webSite));
        emit newNameAllowed(true);
        emit progressEnded();
        m_busy = false;
        // With no base at all the player also learns what a base is and
        // where it goes, as the new-game dialog tells it.
        if (failure && !m_closed) {
            const QString folder = m_io.FolderWithoutBases();
            if (!folder.isEmpty())
                emit failureShown(NoBasesMessage(folder));
        }
        return;
    }
    emit gameNumberShown(qint64(gamesPlayed) + 1);

    if (gamesPlayed < 1) {
        emit progressCaption(QStringLiteral("Первый запуск..."));
        emit progressMoved(0);
        ShuffleLevels(m_state, m_random, progress);
    }

    for (int position = 1; position <= 15; ++position)
        SetMarker(position, Ladder::Marker::None);

    emit gameStarted();
    m_state.GameActive = true;

    emit progressEnded();
    m_busy = false;
}

void GameSession::FinishGame()
{
    if (m_busy || !m_state.GameActive)
        return;
    m_busy = true;
    m_state.GameActive = false;

    emit playStopped();
    m_state.SecondTicks = 0;
    m_state.SecondsLeft = 60;

    m_state.Leaders.fill(BestTable());
    std::int32_t gamesPlayed = 0;

    emit progressStarted();

    QByteArray headerLine;
    emit progressCaption(QStringLiteral("Чтение таблицы лидеров..."));
    std::optional<BaseFailure> failure =
        m_io.ReadLeaderboard(m_state.CurrentBaseFile, &headerLine, m_state.Leaders, &gamesPlayed);
    if (!failure) {
        m_state.Leaders[6] = BestTable{m_state.PlayerName, MoneyLadder::StepOfWinnings(m_state.Winnings),
                                       m_state.GameTicks};
        RankLeaders(m_state.Leaders);
        gamesPlayed = NextGamesPlayed(gamesPlayed);

        if (!m_unattended)
            emit leaderboardReady();

        emit progressCaption(QStringLiteral("Запись в вопросную базу..."));
        failure = m_io.RewriteBase(m_state.CurrentBaseFile, headerLine, m_state, gamesPlayed,
                                   [this](qint64 processed, qint64 total) { ShowProgress(processed, total); });
    }
    if (failure)
        emit failureShown(HostText::WriteFailure());

    m_state.QuestionNumber = 1;
    m_state.GameTicks = 0;
    emit gameFinished();

    emit progressEnded();
    m_busy = false;
}

// ---- The question and the ladder ------------------------------------------

bool GameSession::DrawQuestion()
{
    if (!QuestionDraw::Draw(m_state, m_random))
        return false;
    const QABase &question = m_state.CurrentQuestion;
    m_questionPoints = QuestionDraw::QuestionFontPoints(int(question.Question.size()), m_questionPoints);
    m_answerPoints =
        QuestionDraw::AnswerFontPoints(QuestionDraw::LongestAnswerLength(question), m_answerPoints);
    emit questionShown();
    return true;
}

void GameSession::AdvanceLadder()
{
    emit answersRestored();

    const Ladder::Step step = Ladder::StepFor(m_state.QuestionNumber, m_state.PlayerName);
    if (step.tier != 0)
        m_state.DifficultyTier = step.tier;
    if (step.drawsQuestion && !DrawQuestion()) {
        // A level without questions cannot be played; the loading refuses such
        // bases, so this only guards against a table changed behind its back.
        emit hostSaid(HostText::LoadFailure(m_state.PlayerName, m_webSite));
        FinishGame();
        emit winningsShown(m_state.Winnings);
        return;
    }
    m_state.Winnings = step.winnings;
    emit hostSaid(step.message);
    for (const Ladder::MarkerChange &change : step.markers)
        SetMarker(change.position, change.marker);
    if (step.endsGame)
        FinishGame();
    emit winningsShown(m_state.Winnings);
}

void GameSession::Answer(int place)
{
    // A release that arrives after the game ended under the pressed button
    // (the time ran out) answers nothing.
    if (!m_state.GameActive || place < 1 || place > 4)
        return;
    if (m_state.AnswerPos[place] == 1) {
        ++m_state.QuestionNumber;
        emit momentReached(m_state.QuestionNumber > 15 ? Moment::Million : Moment::RightAnswer);
        AdvanceLadder();
    } else {
        emit momentReached(Moment::WrongAnswer);
        WrongAnswer(m_state.CurrentQuestion.Answers[m_state.AnswerPos[place]]);
    }
}

void GameSession::WrongAnswer(const QString &chosen)
{
    const Ladder::WrongOutcome outcome = Ladder::WrongAnswer(m_state, chosen);
    m_state.Winnings = outcome.winnings;
    emit winningsShown(m_state.Winnings);
    emit hostSaid(outcome.message);
    SetMarker(outcome.redMarker, Ladder::Marker::Red);
    if (m_state.GameActive)
        FinishGame();
}

void GameSession::NewGameOrTakeMoney()
{
    // Loading or saving is under way: the press belongs to neither.
    if (m_busy)
        return;
    if (!m_state.GameActive) {
        BeginGame();
        if (m_state.GameActive)
            AdvanceLadder();
    } else {
        emit momentReached(Moment::MoneyTaken);
        emit hostSaid(HostText::TakeMoney(m_state));
        FinishGame();
    }
}

// ---- Lifelines ------------------------------------------------------------

bool GameSession::UseLifeline(Lifeline lifeline)
{
    if (!m_state.GameActive)
        return false;
    emit lifelineUsed(lifeline);
    if (lifeline == Lifeline::FiftyFifty) {
        emit answerRemoved(m_state.FiftyHide1);
        emit answerRemoved(m_state.FiftyHide2);
        emit hostSaid(HostText::FiftyFifty(m_state.PlayerName));
    }
    return true;
}

void GameSession::LeaveHostMessage(const QString &text)
{
    emit hostSaid(text);
}

// ---- The clock and the countdown ------------------------------------------

void GameSession::TimerTick(bool countdownRuns)
{
    if (!m_state.GameActive)
        return;
    const Countdown::Tick tick = Countdown::TimerTick(m_state, countdownRuns);
    emit clockShown(tick.clock);
    if (!tick.secondPassed)
        return;
    emit countdownShown(tick.secondsLeft);
    if (tick.recolour)
        emit countdownColoured(tick.colour);
    if (!tick.message.isEmpty())
        emit hostSaid(tick.message);
    if (tick.timeUp) {
        emit momentReached(Moment::TimeUp);
        FinishGame();
    }
}

void GameSession::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_state.GameActive)
        FinishGame();
}
