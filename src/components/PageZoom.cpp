#include "components/PageZoom.h"

#include <algorithm>
#include <array>

namespace {

// As browsers step, so the candidate finds the sizes they know.
constexpr std::array<int, 13> kSteps{50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};

} // namespace

int PageZoom::bounded(int percent)
{
    return std::clamp(percent, kMin, kMax);
}

int PageZoom::step(int percent, int steps)
{
    int p = bounded(percent);
    for (; steps > 0; --steps) {
        const auto next = std::upper_bound(kSteps.cbegin(), kSteps.cend(), p);
        p = next == kSteps.cend() ? kMax : *next;
    }
    for (; steps < 0; ++steps) {
        const auto below = std::lower_bound(kSteps.cbegin(), kSteps.cend(), p);
        p = below == kSteps.cbegin() ? kMin : *std::prev(below);
    }
    return p;
}
