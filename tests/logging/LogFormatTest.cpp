#include "core/UtcClock.h"
#include "logging/LogFormat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace drmq {
namespace {

TEST(RoundHalfEvenTest, HalvesGoToTheEvenInteger) {
    const struct {
        double value, rounded;
    } cases[] = {{41.6, 42}, {41.4, 41}, {42.5, 42}, {43.5, 44}, {0.5, 0}, {1.5, 2},
                 {-0.5, 0},  {-1.5, -2}, {-2.5, -2}, {-2.6, -3}, {59.956, 60}, {-100.0, -100}};
    for (const auto &c : cases) EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

TEST(LogHeaderTest, EightLinesWithValuesInColumn18) {
    const double start = EncodeDateTime({2005, 3, 5, 7, 8, 9, 0});
    EXPECT_EQ(LogHeader(start, "6095", "AOR7030"),
              "\r\n"
              ">>>>\r\n"
              "DRM Quodra\r\n"
              "Starttime (UTC)  2005-03-05 07:08:09\r\n"
              "Frequency        6095 kHz\r\n"
              "Receiver         AOR7030\r\n"
              "\r\n"
              "MINUTE  RXL    Longitude   Latitude\r\n");
}

TEST(LogHeaderTest, TwoDigitFieldsAboveNineHaveNoLeadingZero) {
    const double start = EncodeDateTime({2024, 12, 31, 23, 59, 58, 0});
    const std::string header = LogHeader(start, "25775", "TS-850");
    EXPECT_NE(header.find("Starttime (UTC)  2024-12-31 23:59:58\r\n"), std::string::npos);
    EXPECT_NE(header.find("Receiver         TS-850\r\n"), std::string::npos);
}

TEST(LogMinuteLineTest, IndexAndRoundedLevelInTheirColumns) {
    const struct {
        unsigned index;
        double average;
        const char *line;
    } cases[] = {
        {3, 41.6, "  0003   42\r\n"},      {0, 42.5, "  0000   42\r\n"},   {1, 43.5, "  0001   44\r\n"},
        {12, 5.0, "  0012    5\r\n"},      {9999, 100.4, "  9999  100\r\n"}, {10000, 7.0, "  10000    7\r\n"},
        {65535, 0.0, "  65535    0\r\n"},  {2, -3.5, "  0002   -4\r\n"},   {2, -0.4, "  0002    0\r\n"},
        {4, -99.6, "  0004  -10\r\n"},     {5, -100.0, "  0005  -10\r\n"},  {6, 1234.0, "  0006  123\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LogMinuteLine(static_cast<std::uint16_t>(c.index), c.average), c.line) << c.average;
}

TEST(LogMinuteLineTest, RxlFieldStartsUnderTheRxlHeading) {
    const std::string heads = "MINUTE  RXL    Longitude   Latitude";
    const std::string line = LogMinuteLine(7, 100.0);
    EXPECT_EQ(line.find("100"), heads.find("RXL"));
}

TEST(LogClosingLinesTest, OneDecimalAtLeastThreeCharacters) {
    const struct {
        double min, max;
        const char *text;
    } cases[] = {
        {120.0, -14.0, "\r\nRXL min: 120.0, max: -14.0\r\n<<<<\r\n"},
        {12.0, -3.5, "\r\nRXL min: 12.0, max: -3.5\r\n<<<<\r\n"},
        {0.04, 59.956, "\r\nRXL min: 0.0, max: 60.0\r\n<<<<\r\n"},
    };
    for (const auto &c : cases) EXPECT_EQ(LogClosingLines(c.min, c.max), c.text);
}

} // namespace
} // namespace drmq
