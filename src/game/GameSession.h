#pragma once

#include "game/Countdown.h"
#include "questionbase/GameState.h"
#include "game/Ladder.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class GameIO;
class RandomGenerator;

// One run of the game: the state of play and every step of its flow, from
// the player's name and base through BeginGame, the questions, the countdown
// and the lifelines to FinishGame and the rewritten base. The session is the
// only writer of the game state; windows read it through state() and report
// what the player did through the calls below. What the screen should show
// comes out as signals, emitted in the order the steps take, so a window that
// follows them changes its controls in exactly that order.
//
// Loading and saving let the window process events between items
// (GameIO::ProcessEvents); any call may then arrive in the middle of them.
// While Busy() the new-game button does nothing.
class GameSession : public QObject {
    Q_OBJECT

public:
    enum class Lifeline { FiftyFifty, Telephone, Audience };
    Q_ENUM(Lifeline)
    // The turns of a game that the show marks with a sound of their own.
    enum class Moment { RightAnswer, WrongAnswer, Million, MoneyTaken, TimeUp };
    Q_ENUM(Moment)

    // Files of the working directory and the system's random generator.
    explicit GameSession(QObject *parent = nullptr);
    // `io` and `random` must outlive the session.
    GameSession(GameIO &io, RandomGenerator &random, QObject *parent = nullptr);
    ~GameSession() override;

    const GameState &state() const { return m_state; }
    bool Busy() const { return m_busy; }
    // A game may be started and the new-game dialog opened.
    bool BetweenGames() const { return !m_state.GameActive && !m_busy; }

    // Nobody is watching (the desktop session is ending): loading and saving
    // no longer let the window process events.
    void SetUnattended(bool unattended) { m_unattended = unattended; }

    // Where the host sends the player for new bases after a failed load.
    void SetWebSite(const QString &address) { m_webSite = address; }

    // Point sizes of the question and of the answers on screen; a long text
    // keeps the size the previous question left.
    int QuestionPoints() const { return m_questionPoints; }
    int AnswerPoints() const { return m_answerPoints; }

    // ---- The new-game dialog ---------------------------------------------
    void ChooseBase(const QString &fileName);
    // The question counts of the base just described. A running game keeps
    // the counts its lists were loaded with.
    void DescribeLevels(const std::array<std::int32_t, 16> &levelCounts);
    // Confirms the typed name (empty: the anonymous player, cut to 20
    // characters), greets the player and clears the board. `baseCaption` is
    // the description of the chosen base; `totalQuestions` its size.
    void NamePlayer(const QString &typed, const QString &baseCaption, qint64 totalQuestions);
    // The dialog has gone: the player's name goes up on the menu panel.
    void AnnouncePlayer();

    // ---- The main window's controls --------------------------------------
    // "Новая игра..." between games, "Забрать деньги..." during one.
    void NewGameOrTakeMoney();
    // Place 1..4 (A..D) chosen; ignored outside a game.
    void Answer(int place);
    // A lifeline chosen; false when no game is running (nothing happens).
    bool UseLifeline(Lifeline lifeline);
    // A lifeline dialog leaves its closing words with the host.
    void LeaveHostMessage(const QString &text);
    // One 100 ms tick of the game timer. The countdown only runs while
    // `countdownRuns` (no dialog holds the stage); the game clock always does.
    void TimerTick(bool countdownRuns);
    // The window is closing: a running game is finished and recorded, and a
    // load still under way starts no game.
    void Close();

    // The two halves of a game; NewGameOrTakeMoney and the endings call them.
    void BeginGame();
    void FinishGame();

    // Tests: puts the session into a given position of play.
    void Restore(const GameState &position) { m_state = position; }

    static inline const QString Anonymous = QStringLiteral("Анонимный игрок");

signals:
    // The host's words for LabelDialog.
    void hostSaid(const QString &text);

    // Loading or saving: the gauge is shown at 0 with its caption, the
    // new-game button disabled; the caption changes; the gauge moves; both
    // hide again and the button is enabled.
    void progressStarted();
    void progressCaption(const QString &caption);
    void progressMoved(int value);
    void progressEnded();
    void newNameAllowed(bool allowed);
    // The number of the game now starting on this base (LabelNumLoad).
    void gameNumberShown(qint64 number);

    // BeginGame has put the window into play: the button takes the money,
    // the answer areas and lifelines are enabled, the countdown figure is
    // green, the game timer runs and the clock reads 0:00.0.
    void gameStarted();
    // FinishGame has stopped play: the question and answers are cleared and
    // shown again, areas and lifelines disabled, crosses hidden, timer stopped.
    void playStopped();
    // The window is back between games: "Новая игра...", name button enabled.
    void gameFinished();
    // The ranked leaderboard is ready to be shown.
    void leaderboardReady();
    // A modal message for the player.
    void failureShown(const QString &text);

    // Ladder marker 1..15 takes the picture "NONE", "YELLOW", "GREEN" or "RED".
    void markerChanged(int position, const QString &picture);
    // CurrentQuestion, its subject and author lines and font sizes are new.
    void questionShown();
    void answersRestored();      // all four answer texts visible again
    void answerRemoved(int place);
    void lifelineUsed(GameSession::Lifeline lifeline);
    // A turn of the game, announced before the screen follows it.
    void momentReached(GameSession::Moment moment);
    void winningsShown(int roubles);
    void clockShown(const QString &clock);
    void countdownShown(int secondsLeft);
    void countdownColoured(Countdown::Rgb colour);

    // The new-game dialog's confirmation: the base line (LblNmQA), an empty
    // board (score, countdown, clock, markers), and the player's name.
    void baseSummaryShown(const QString &text);
    void boardCleared();
    void playerAnnounced(const QString &text);

private:
    void AdvanceLadder();
    void WrongAnswer(const QString &chosen);
    bool DrawQuestion();
    void ShowProgress(qint64 processed, qint64 total);
    void SetMarker(int position, Ladder::Marker marker);

    std::unique_ptr<GameIO> m_ownIO;
    GameIO &m_io;
    RandomGenerator &m_random;
    GameState m_state;
    QString m_webSite;
    bool m_busy = false;
    bool m_closed = false;
    bool m_unattended = false;
    int m_questionPoints = 16;
    int m_answerPoints = 14;
};
