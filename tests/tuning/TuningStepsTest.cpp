// Step arithmetic, edge limits, wheel notch counting and the band table.
#include "tuning/TuningSteps.h"

#include "core/RunErrors.h"

#include <gtest/gtest.h>

#include <climits>

namespace drmq {
namespace {

using D = TStepDirection;

TEST(StepKhzTest, ListOrderTenNineFiveOne) {
    EXPECT_EQ(StepKhz(0), 10);
    EXPECT_EQ(StepKhz(1), 9);
    EXPECT_EQ(StepKhz(2), 5);
    EXPECT_EQ(StepKhz(3), 1);
    EXPECT_FALSE(StepKhz(-1).has_value());
    EXPECT_FALSE(StepKhz(4).has_value());
}

struct StepCase {
    const char *field;
    int stepIndex;
    D direction;
    int expected;
};

class StepTargetTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepTargetTest, FieldPlusOrMinusStep) {
    const StepCase &c = GetParam();
    EXPECT_EQ(StepTarget(c.field, c.stepIndex, c.direction, -7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StepTargetTest,
                         ::testing::Values(StepCase{"6095", 2, D::Up, 6100}, StepCase{"6095", 2, D::Down, 6090},
                                           StepCase{"29995", 0, D::Up, 30005}, StepCase{"155", 0, D::Down, 145},
                                           StepCase{"531", 1, D::Up, 540}, StepCase{"531", 3, D::Down, 530},
                                           StepCase{"0153", 3, D::Up, 154},
                                           // Unknown step index: the previous target stays.
                                           StepCase{"6095", -1, D::Up, -7}, StepCase{"6095", 4, D::Down, -7},
                                           // No overflow at the ends of the integer range.
                                           StepCase{"2147483647", 0, D::Up, INT_MAX},
                                           StepCase{"-2147483648", 0, D::Down, INT_MIN}));

TEST(StepTargetFailureTest, FieldThatIsNoNumberRaises) {
    EXPECT_THROW(StepTarget("", 2, D::Up, 0), EConvertError);
    EXPECT_THROW(StepTarget("60x5", 2, D::Down, 0), EConvertError);
    // Without a step the field is not read at all.
    EXPECT_EQ(StepTarget("60x5", -1, D::Down, 42), 42);
}

TEST(LimitToEdgeTest, UpStopsAtTopDownAtBottom) {
    EXPECT_EQ(LimitToEdge(30005, D::Up), 29999);
    EXPECT_EQ(LimitToEdge(29999, D::Up), 29999);
    EXPECT_EQ(LimitToEdge(6100, D::Up), 6100);
    EXPECT_EQ(LimitToEdge(145, D::Down), 150);
    EXPECT_EQ(LimitToEdge(150, D::Down), 150);
    EXPECT_EQ(LimitToEdge(6090, D::Down), 6090);
    // Each direction limits only its own edge.
    EXPECT_EQ(LimitToEdge(145, D::Up), 145);
    EXPECT_EQ(LimitToEdge(30005, D::Down), 30005);
}

TEST(WheelCounterTest, DivisorThreeActsOnTheThirdNotchInItsOwnDirection) {
    TWheelCounter wheel;
    EXPECT_TRUE(wheel.Notches(120, 3).empty());
    EXPECT_TRUE(wheel.Notches(120, 3).empty());
    EXPECT_EQ(wheel.WheelCount, 2);
    EXPECT_EQ(wheel.Notches(-120, 3), std::vector<D>{D::Down});
    EXPECT_EQ(wheel.WheelCount, 0);
    EXPECT_TRUE(wheel.Notches(-120, 3).empty());
    EXPECT_TRUE(wheel.Notches(-120, 3).empty());
    EXPECT_EQ(wheel.Notches(120, 3), std::vector<D>{D::Up});
}

TEST(WheelCounterTest, DivisorOneActsOnEveryNotch) {
    TWheelCounter wheel;
    EXPECT_EQ(wheel.Notches(120, 1), std::vector<D>{D::Up});
    EXPECT_EQ(wheel.Notches(-120, 1), std::vector<D>{D::Down});
}

TEST(WheelCounterTest, DivisorZeroOrLessNeverActs) {
    for (int divisor : {0, -1}) {
        TWheelCounter wheel;
        for (int i = 0; i < 50; ++i) EXPECT_TRUE(wheel.Notches(i % 2 ? 120 : -120, divisor).empty());
    }
}

TEST(WheelCounterTest, OneEventOfSeveralNotchesCountsEach) {
    TWheelCounter wheel;
    EXPECT_EQ(wheel.Notches(360, 3), std::vector<D>{D::Up});
    EXPECT_EQ(wheel.Notches(720, 3), (std::vector<D>{D::Up, D::Up}));
    EXPECT_EQ(wheel.WheelCount, 0);
}

TEST(WheelCounterTest, FineGrainedWheelAddsUpToWholeNotches) {
    TWheelCounter wheel;
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(wheel.Notches(15, 1).empty());
    EXPECT_EQ(wheel.Notches(15, 1), std::vector<D>{D::Up});
    EXPECT_TRUE(wheel.Notches(-60, 1).empty());
    EXPECT_EQ(wheel.Notches(-60, 1), std::vector<D>{D::Down});
}

TEST(BandTableTest, FifteenBandsWithFrequencyAndStep) {
    ASSERT_EQ(Bands().size(), 15u);
    const int step9 = 1;
    const int step5 = 2;
    const struct {
        int index;
        const char *name;
        const char *khz;
        int step;
    } expected[] = {{0, "LW", "153", step9},     {1, "MW", "531", step9},     {2, "120m", "2300", step5},
                    {3, "90m", "3200", step5},   {4, "75m", "3900", step5},   {5, "60m", "4750", step5},
                    {6, "49m", "5800", step5},   {7, "41m", "7100", step5},   {8, "31m", "9250", step5},
                    {9, "25m", "11600", step5},  {10, "22m", "13570", step5}, {11, "19m", "15100", step5},
                    {12, "16m", "17480", step5}, {13, "13m", "21450", step5}, {14, "11m", "25670", step5}};
    for (const auto &e : expected) {
        const auto band = BandAt(e.index);
        ASSERT_TRUE(band.has_value()) << e.index;
        EXPECT_STREQ(band->Name, e.name);
        EXPECT_STREQ(band->Khz, e.khz);
        EXPECT_EQ(band->StepIndexAfter, e.step) << e.name;
    }
    EXPECT_FALSE(BandAt(-1).has_value());
    EXPECT_FALSE(BandAt(15).has_value());
}

} // namespace
} // namespace drmq
