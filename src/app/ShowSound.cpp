#include "app/ShowSound.h"

#include "game/GameSession.h"

#include <QObject>

void ConnectShowSound(GameSession &session, QObject *context, std::function<void(SoundCue)> play)
{
    GameSession *source = &session;
    QObject::connect(source, &GameSession::questionShown, context,
                     [source, play] { play(QuestionCue(source->state().DifficultyTier)); });
    QObject::connect(source, &GameSession::countdownShown, context, [play](int secondsLeft) {
        if (secondsLeft >= 1 && secondsLeft <= 20)
            play(SoundCue::Tick);
    });
    QObject::connect(source, &GameSession::momentReached, context, [play](GameSession::Moment moment) {
        switch (moment) {
        case GameSession::Moment::RightAnswer: play(SoundCue::Right); break;
        case GameSession::Moment::WrongAnswer: play(SoundCue::Wrong); break;
        case GameSession::Moment::Million: play(SoundCue::Million); break;
        case GameSession::Moment::MoneyTaken: play(SoundCue::TakeMoney); break;
        case GameSession::Moment::TimeUp: play(SoundCue::TimeOut); break;
        }
    });
    QObject::connect(source, &GameSession::lifelineUsed, context, [play](GameSession::Lifeline lifeline) {
        switch (lifeline) {
        case GameSession::Lifeline::FiftyFifty: play(SoundCue::Fifty); break;
        case GameSession::Lifeline::Telephone: play(SoundCue::PhoneRing); break;
        case GameSession::Lifeline::Audience: play(SoundCue::Audience); break;
        }
    });
    QObject::connect(source, &GameSession::leaderboardReady, context, [play] { play(SoundCue::Leaderboard); });
}
