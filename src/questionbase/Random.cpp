#include "questionbase/Random.h"

#include <chrono>

RandomGenerator::RandomGenerator()
    : m_clock(&RandomGenerator::SystemMillisecondsSinceMidnight)
{
}

RandomGenerator::RandomGenerator(Clock clock)
    : m_clock(std::move(clock))
{
}

void RandomGenerator::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void RandomGenerator::Reseed()
{
    m_seed = m_clock ? m_clock() : 0u;
}

int RandomGenerator::RandomInt(int n)
{
    m_seed = m_seed * Multiplier + 1u;
    // The product of the seed and n, read as unsigned 32-bit factors; for the
    // non-negative n that the game passes this is the value in 0..n-1.
    const std::uint64_t product = std::uint64_t(m_seed) * std::uint64_t(std::uint32_t(n));
    return int(std::uint32_t(product >> 32));
}

std::uint32_t RandomGenerator::SystemMillisecondsSinceMidnight()
{
    using namespace std::chrono;
    const auto now = time_point_cast<milliseconds>(system_clock::now());
    const auto sinceMidnight = now - floor<days>(now);
    return std::uint32_t(sinceMidnight.count());
}

RandomGenerator &SystemRandom()
{
    static RandomGenerator generator;
    return generator;
}
