#include "game/Countdown.h"

#include "questionbase/PlayTime.h"

namespace Countdown {

Tick TimerTick(GameState &state, bool countdownRuns)
{
    Tick tick;
    ++state.GameTicks;
    tick.clock = FormatPlayTime(state.GameTicks);
    tick.secondsLeft = state.SecondsLeft;
    if (!countdownRuns)
        return tick;

    ++state.SecondTicks;
    if (state.SecondTicks < TicksPerSecond)
        return tick;
    state.SecondTicks = 0;
    --state.SecondsLeft;
    tick.secondPassed = true;
    tick.secondsLeft = state.SecondsLeft;

    switch (state.SecondsLeft) {
    case 59:
        tick.recolour = true;
        tick.colour = Green;
        break;
    case 40:
        tick.recolour = true;
        tick.colour = Yellow;
        break;
    case 20:
        tick.recolour = true;
        tick.colour = Red;
        tick.message = state.PlayerName
            + QStringLiteral(", поспешите с выбором ответа т.к. время ограничено! У вас осталось "
                             "менее 20-ти секунд!");
        break;
    case 0:
        tick.timeUp = true;
        tick.message = state.PlayerName
            + QStringLiteral(", ваше время истекло! Вы так и не решились ответить на какой-либо из "
                             "ответов, а верный ответ был ")
            + state.CurrentQuestion.Answers[1] + QStringLiteral(" Ваш выигрыш составил ")
            + QString::number(state.Winnings) + QStringLiteral(" рублей!");
        break;
    default:
        break;
    }
    return tick;
}

} // namespace Countdown
