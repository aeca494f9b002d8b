#include "core/SecondTicks.h"
#include "core/UtcClock.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace drmq {
namespace {

std::string Caption(double now) {
    const DateTimeParts p = DecodeDateTime(now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    return text;
}

// The timer as the desktop's coarse timers behave: a firing lands up to 5 %
// of its interval early, or late by any amount under a loaded machine.
struct TDriftingTimer {
    TManualClock &clock;
    std::mt19937 random{21};
    void WaitFor(int ms) {
        std::uniform_real_distribution<double> drift(-0.05, 0.25);
        clock.AdvanceSeconds(ms * (1.0 + drift(random)) / 1000.0);
    }
};

TEST(SecondTicks, EverySecondTicksOnceWhetherTheTimerFiresEarlyOrLate) {
    TManualClock clock(EncodeDateTime({2026, 12, 9, 23, 58, 0, 0}));
    TDriftingTimer timer{clock};
    TSecondTicks ticks;
    std::map<std::string, int> captions;
    while (Caption(clock.UtcNow()) != "00:03:00") {
        if (ticks.Due(clock.UtcNow())) ++captions[Caption(clock.UtcNow())];
        timer.WaitFor(TSecondTicks::MsToNextSecond(clock.UtcNow()));
    }
    // Five minutes across midnight: 300 captions, each shown once.
    EXPECT_EQ(captions.size(), 300u);
    for (const auto &[caption, count] : captions) EXPECT_EQ(count, 1) << caption;
}

TEST(SecondTicks, AClockSetBackTicksOnAtOnce) {
    TManualClock clock(EncodeDateTime({2026, 12, 9, 18, 0, 0, 500}));
    TSecondTicks ticks;
    ASSERT_TRUE(ticks.Due(clock.UtcNow()));
    clock.AdvanceSeconds(-3600.0);
    EXPECT_TRUE(ticks.Due(clock.UtcNow()));
    EXPECT_FALSE(ticks.Due(clock.UtcNow()));
}

} // namespace
} // namespace drmq
