#pragma once

#include <cstdint>
#include <random>

/// The one pseudo-random generator of a run, seeded once. Tests pass a fixed seed.
class RandomSource
{
public:
    explicit RandomSource(std::uint64_t seed);

    /// Seed taken from the clock, as at program start.
    static std::uint64_t clockSeed();

    /// Uniform integer in 0 .. m - 1; 0 when m < 1.
    int below(int m);

    /// Uniform real in [0, 1).
    double unit();

private:
    std::mt19937_64 m_engine;
};
