#pragma once

#include <array>

namespace MoneyLadder {

// Roubles of each ladder step; step 0 is "nothing won".
inline constexpr std::array<int, 16> Sums = {
    0, 100, 200, 300, 500, 1000, 2000, 4000, 8000,
    16000, 32000, 64000, 125000, 250000, 500000, 1000000};

inline constexpr int TopStep = 15;

// Sum of step 0..15; any other step is worth 0.
constexpr int SumOfStep(int step)
{
    return step >= 0 && step <= TopStep ? Sums[step] : 0;
}

// Step whose sum is exactly `winnings`; any other amount gives step 0.
constexpr int StepOfWinnings(int winnings)
{
    for (int step = 0; step <= TopStep; ++step) {
        if (Sums[step] == winnings)
            return step;
    }
    return 0;
}

} // namespace MoneyLadder
