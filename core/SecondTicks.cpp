#include "core/SecondTicks.h"

#include <cmath>

namespace drmq {

namespace {
// Whole milliseconds, rounded as the caption's clock rounds them.
long long Milliseconds(double days) {
    return std::llround(days * 86400000.0);
}

long long SecondOf(long long ms) {
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

// Past the boundary by a little, so that a timer on time lands in the new second.
constexpr int kAfterBoundaryMs = 5;
} // namespace

bool TSecondTicks::Due(double now) {
    const long long second = SecondOf(Milliseconds(now));
    if (ticked_ && second == lastSecond_) return false;
    ticked_ = true;
    lastSecond_ = second;
    return true;
}

int TSecondTicks::MsToNextSecond(double now) {
    const long long ms = Milliseconds(now);
    return static_cast<int>((SecondOf(ms) + 1) * 1000 - ms) + kAfterBoundaryMs;
}

} // namespace drmq
