#pragma once

#include <QString>

#include <cstdint>

// One leaderboard entry of a base.
struct BestTable {
    QString Name;            // at most 20 characters; empty when the entry holds no result
    std::int32_t Step = 0;   // 0..15, the ladder step whose sum the player kept
    std::int32_t Ticks = 0;  // the whole game's duration in tenths of a second

    bool operator==(const BestTable &) const = default;
};
