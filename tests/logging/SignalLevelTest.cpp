#include "logging/SignalLevel.h"
#include "rig/ReceiverModel.h"

#include <gtest/gtest.h>

namespace drmq {
namespace {

TEST(ReportsSignalLevelTest, OnlyTheFourLevelReceivers) {
    for (int model = 0; model < kReceiverModelCount; ++model) {
        const bool expected =
            model == rmAOR7030 || model == rmFRG100 || model == rmDWT || model == rmTS850 || model == rmHamlib;
        EXPECT_EQ(ReportsSignalLevel(model), expected) << model;
    }
    EXPECT_FALSE(ReportsSignalLevel(-1));
}

TEST(AntennaCorrectionValueTest, DecimalTextOrZero) {
    const struct {
        const char *text;
        double value;
    } cases[] = {{"0.0", 0.0}, {"2.5", 2.5}, {"-1.25", -1.25}, {"3", 3.0}, {"abc", 0.0},
                 {"", 0.0},    {"2,5", 0.0}, {"1e2", 100.0}};
    for (const auto &c : cases) EXPECT_DOUBLE_EQ(AntennaCorrectionValue(c.text), c.value) << c.text;
}

TEST(Aor7030LevelTest, FormulaClampsAndAttenuatorStep) {
    const struct {
        int a, b, attenuator;
        double correction, level;
    } cases[] = {
        {12, 3, 1, 0.0, 59.956},             // v = 12.6 -> 13.326
        {12, 3, 1, 1.5, 58.456},             // the correction comes off the end
        {10, 5, 1, 0.0, 46.0},               // v = 11, below the expansion
        {25, 0, 4, 0.0, 106.0},              // 18 + 3 steps = 23, limited to 21
        {25, 0, 4, 2.0, 104.0},
        {25, 0, 1, 0.0, 88.0},               // limited to 18
        {0, 0, 1, 0.0, -14.0},               // limited to 1 after the attenuator
        {0, 0, 0, 0.0, -14.0},               // -1.67, limited to 1
        {6, 0, 2, 0.0, (6 + 1.6666666666666667) * 6 - 20},
        {11, 3, 1, 0.0, (11.6 + 0.1 * 0.66) * 6 - 20},
    };
    for (const auto &c : cases) {
        EXPECT_NEAR(Aor7030Level(static_cast<std::uint8_t>(c.a), static_cast<std::uint8_t>(c.b), c.attenuator,
                                 c.correction),
                    c.level, 1e-9)
            << c.a << " " << c.b << " " << c.attenuator;
    }
    EXPECT_EQ(RoundedLevelText(Aor7030Level(12, 3, 1, 0.0)), "60");
}

TEST(DwtLevelTest, SixteenBitLevelLessRoundedCorrection) {
    const struct {
        int level;
        double correction;
        int result;
    } cases[] = {{40, 0.0, 40}, {40, 2.5, 38}, {40, 3.5, 36}, {40, -1.4, 41}, {-5, 0.0, -5}, {-32768, 1.0, 32767}};
    for (const auto &c : cases)
        EXPECT_EQ(DwtLevel(static_cast<std::int16_t>(c.level), c.correction), c.result) << c.level << " " << c.correction;
}

TEST(Frg100LevelTest, ColumnPerHalfMegahertzLessCorrection) {
    TCalibrationTable table{};
    table[200][11] = 42;
    table[200][0] = 17;
    table[200][58] = 99;
    table[7][11] = 3;
    const struct {
        int smeter, khz;
        double correction, level;
    } cases[] = {{200, 6095, 0.5, 41.5}, {200, 800, 0.0, 17.0}, {200, 150, 0.0, 17.0},
                 {200, 29999, 0.0, 99.0}, {200, 6000, 0.0, 42.0}, {7, 6499, -1.0, 4.0}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(Frg100Level(table, static_cast<std::uint8_t>(c.smeter), c.khz, c.correction), c.level)
            << c.khz;
    EXPECT_EQ(ShortestDecimalText(41.5, QLocale::c()), "41.5");
}

TEST(Ts850LevelTest, ReplyDigitsTimesFourLess26) {
    const struct {
        const char *reply;
        double correction, level;
    } cases[] = {{"SM0015;", 0.0, 34.0}, {"SM0000;", 0.0, -26.0}, {"", 0.0, -26.0},
                 {"SM0030;", 1.0, 93.0}, {"SM0015", 0.0, 34.0},  {"SM;", 0.0, -26.0}};
    for (const auto &c : cases) {
        const auto level = Ts850Level(c.reply, c.correction);
        ASSERT_TRUE(level.has_value()) << c.reply;
        EXPECT_DOUBLE_EQ(*level, c.level) << c.reply;
    }
    EXPECT_FALSE(Ts850Level("SM00\x01;", 0.0).has_value());
    EXPECT_FALSE(Ts850Level("XY0015;", 0.0).has_value());
}

TEST(LevelTextTest, RoundedAndShortestForms) {
    EXPECT_EQ(RoundedLevelText(59.956), "60");
    EXPECT_EQ(RoundedLevelText(42.5), "42");
    EXPECT_EQ(RoundedLevelText(-0.4), "0");
    EXPECT_EQ(RoundedLevelText(-26.0), "-26");
    EXPECT_EQ(ShortestDecimalText(12000.0, QLocale::c()), "12000");
    EXPECT_EQ(ShortestDecimalText(59.956, QLocale::c()), "59.956");
    EXPECT_EQ(ShortestDecimalText(1.0 / 3.0, QLocale::c()), "0.333333333333333");
    EXPECT_EQ(ShortestDecimalText(41.5, QLocale(QLocale::German)), "41,5");
    EXPECT_EQ(ShortestDecimalText(12000.0, QLocale(QLocale::German)), "12000");
}

} // namespace
} // namespace drmq
