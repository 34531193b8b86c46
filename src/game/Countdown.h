#pragma once

#include "questionbase/GameState.h"

#include <QString>

// The game clock and the question countdown, driven by a 100 ms tick.
namespace Countdown {

// Colours of the countdown figure, as red, green, blue.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const Rgb &) const = default;
};
inline constexpr Rgb Green{0, 255, 0};
inline constexpr Rgb Yellow{255, 255, 0};
inline constexpr Rgb Red{255, 0, 0};

// Ticks of 100 ms in one countdown second.
inline constexpr int TicksPerSecond = 10;

struct Tick {
    QString clock;              // the game clock for the LCD, "m:ss.t"
    bool secondPassed = false;  // the countdown went down; LabelTimer shows secondsLeft
    int secondsLeft = 0;
    bool recolour = false;      // the figure takes `colour`
    Rgb colour = Green;
    QString message;            // the warning or the time-out text; empty for none
    bool timeUp = false;        // the game ends now
};

// One tick: the game clock always runs; the countdown only while
// `countdownRuns` (the main window is enabled, no dialog holds it). At 59 the
// figure turns green, at 40 yellow, at 20 red with a warning; at 0 the time
// is up and the player keeps the full Winnings.
Tick TimerTick(GameState &state, bool countdownRuns);

} // namespace Countdown
