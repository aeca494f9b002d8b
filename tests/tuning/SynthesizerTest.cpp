// The DDS synthesizers: tuning words, registers and their exact framing on
// the control lines, decoded by the chip simulator.
#include "support/LinePortRecorder.h"
#include "support/SimDdsChip.h"
#include "core/RunErrors.h"
#include "tuning/Synthesizer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace drmq::test {
namespace {

using namespace std::string_literals;

class SynthesizerLines : public ::testing::Test {
protected:
    TLinePortRecorder port;
    int pauses = 0;
    TSynthesizerLines lines{port, [this] { ++pauses; }};
};

TEST(ElektorWords, TuningWordForTheExample) {
    // 6095 kHz with IF 454.3 kHz and a 50 MHz clock: W = 0x21884C6A.
    const auto words = ElektorWords(6095, 454.3, 50000);
    const std::array<std::uint16_t, 7> expected = {0xF800, 0x306A, 0x214C, 0x3288, 0x2321, 0x8000, 0xC000};
    EXPECT_EQ(words, expected);
}

TEST(ElektorWords, ClockOfZeroIsADivisionError) {
    EXPECT_THROW(ElektorWords(6095, 454.3, 0), ERunError);
}

TEST_F(SynthesizerLines, WordOutClocksSixteenBitsInOneDtrFrame) {
    lines.WordOut(0xA5C3);
    const auto frames = DecodeDdsFrames(port.Events);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Bits.size(), 16u);
    EXPECT_EQ(frames[0].Word(), 0xA5C3u);
    EXPECT_EQ(pauses, 68);
    // The clock is idle before the frame opens; data is set before each pulse.
    ASSERT_GE(port.Events.size(), 5u);
    EXPECT_EQ(port.Events[0], "!BRK 0"); // this test never opened the port
    EXPECT_EQ(port.Events[1], "!DTR 1");
    EXPECT_EQ(port.Events[2], "!RTS 0"); // bit 15 is 1: RTS off
    EXPECT_EQ(port.Events[3], "!BRK 1");
    EXPECT_EQ(port.Events.back(), "!DTR 0");
}

TEST_F(SynthesizerLines, CommandOpensFramesAndClosesThePort) {
    lines.CMDout("COM3", "\x04\x24\x53\x14\xC5"s);
    ASSERT_GE(port.Events.size(), 2u);
    EXPECT_EQ(port.Events.front(), "open COM3");
    EXPECT_EQ(port.Events[1], "DTR 1");
    EXPECT_EQ(port.Events[port.Events.size() - 2], "DTR 0");
    EXPECT_EQ(port.Events.back(), "close");
    const auto frames = DecodeDdsFrames(port.Events);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].PortWasOpen);
    EXPECT_EQ(frames[0].Bytes(), "\x04\x24\x53\x14\xC5"s);
    EXPECT_EQ(pauses, 24 * 5 + 1);
}

TEST_F(SynthesizerLines, RegisterTwoTakesNinetySevenPauses) {
    lines.CMDout("COM1", Drt1ControlRegister2(5, 3));
    EXPECT_EQ(pauses, 97);
}

TEST(Drt1, CommandsForTheExampleWithTheFirstIfOffset) {
    EXPECT_EQ(Drt1ControlRegister1(), "\x00\x00\x00\x02\x02"s);
    EXPECT_EQ(Drt1ControlRegister2(5, 3), "\x01\x00\x00\x43"s);
    EXPECT_EQ(Drt1TuningCommand(6095000, 45000000, 5), "\x04\x24\x53\x14\xC5"s);
}

TEST(Drt1, SystemClockOfEachMultiplier) {
    EXPECT_EQ(Drt1SystemClock(0), 45012000);
    EXPECT_EQ(Drt1SystemClock(1), 180048000);
    EXPECT_EQ(Drt1SystemClock(5), 360096000);
}

TEST(Drt1, RegisterTwoValueForEveryChoice) {
    const int base[6] = {0x1C, 0x24, 0x2C, 0x30, 0x38, 0x40};
    for (int m = 0; m < 6; ++m) {
        for (int c = 0; c < 4; ++c) {
            const std::string reg = Drt1ControlRegister2(m, c);
            ASSERT_EQ(reg.size(), 4u);
            const int v = static_cast<unsigned char>(reg[3]);
            EXPECT_EQ(v, base[m] + c);
            EXPECT_EQ(v >> 3, m == 0 ? 3 : m + 3) << m; // the multiplier choice plus 3
            EXPECT_EQ((v >> 2) & 1, m <= 2 ? 1 : 0) << m;
            EXPECT_EQ(v & 3, c);
        }
    }
}

TEST(Drt1, ClockLimitRefusesFrequenciesAboveHalfTheSystemClock) {
    // "8x" with the 45000 kHz offset takes the whole range.
    EXPECT_TRUE(Drt1TuningCommand(29999000, 45000000, 5).has_value());
    EXPECT_TRUE(Drt1TuningCommand(150000, 45000000, 5).has_value());
    // "--" is too slow for any frequency with that offset.
    EXPECT_FALSE(Drt1TuningCommand(150000, 45000000, 0).has_value());
    EXPECT_FALSE(Drt1TuningCommand(29999000, 45000000, 0).has_value());
    // Exactly half the clock is still accepted.
    EXPECT_TRUE(Drt1TuningCommand(22506000, 0, 0).has_value());
    EXPECT_FALSE(Drt1TuningCommand(22506001, 0, 0).has_value());
}

TEST(BitDelay, PausesInRealTime) {
    // Two million counts are at least two milliseconds on any processor.
    const auto start = std::chrono::steady_clock::now();
    BitDelay(2'000'000);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2));
}

} // namespace
} // namespace drmq::test
