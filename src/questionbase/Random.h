#pragma once

#include <cstdint>
#include <functional>

// The game's one random number generator: a 32-bit linear congruential
// sequence reseeded from the time of day. Two reseeds within the same
// millisecond give the same seed, and the game's draws rely on exactly that
// behaviour, so the clock is injectable for tests.
class RandomGenerator {
public:
    // Milliseconds since midnight, UTC: ((h * 60 + m) * 60 + s) * 1000 + ms.
    using Clock = std::function<std::uint32_t()>;

    static constexpr std::uint32_t Multiplier = 134775813u;

    RandomGenerator();
    explicit RandomGenerator(Clock clock);

    // Seed := the clock's milliseconds since midnight UTC.
    void Reseed();

    // 0..n-1: seed := seed * 134775813 + 1 (mod 2^32), then the upper 32 bits
    // of the 64-bit product seed * n. RandomInt(0) is 0.
    int RandomInt(int n);

    std::uint32_t seed() const { return m_seed; }
    void setSeed(std::uint32_t seed) { m_seed = seed; }
    void setClock(Clock clock);

    // The real clock: UTC milliseconds since midnight.
    static std::uint32_t SystemMillisecondsSinceMidnight();

private:
    std::uint32_t m_seed = 0;
    Clock m_clock;
};

// The process-wide generator that the windows use; rules take a generator
// as a parameter so that tests can pass their own.
RandomGenerator &SystemRandom();
