#include "components/RandomSource.h"

#include <QDateTime>

RandomSource::RandomSource(std::uint64_t seed) : m_engine(seed) {}

std::uint64_t RandomSource::clockSeed()
{
    return static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch());
}

int RandomSource::below(int m)
{
    if (m < 1)
        return 0;
    std::uniform_int_distribution<int> dist(0, m - 1);
    return dist(m_engine);
}

double RandomSource::unit()
{
    std::uniform_real_distribution<double> dist(0.0, 1.0);
    return dist(m_engine);
}
