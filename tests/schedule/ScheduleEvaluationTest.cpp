// The entry test at fixed instants, the power test, the preview span and the
// two passes of an evaluation.
#include "core/UtcClock.h"
#include "schedule/ScheduleEvaluation.h"

#include <gtest/gtest.h>

namespace drmq {
namespace {

// March 2024: the 4th is a Monday, the 8th a Friday, the 9th a Saturday.
double At(int day, int hour, int minute, int second = 0, int ms = 0) {
    return EncodeDateTime(DateTimeParts{2024, 3, day, hour, minute, second, ms});
}

ScheduleEntry Entry(const char *start, const char *stop, const char *days = "0000000", const char *khz = "6095",
                    const char *kw = "100") {
    ScheduleEntry e;
    e.StartTime = start;
    e.StopTime = stop;
    e.Days = days;
    e.FrequencyKHz = khz;
    e.PowerKW = kw;
    e.Programme = "Radio Test";
    return e;
}

struct EntryCase {
    const char *name;
    const char *start, *stop, *days;
    double instant;
    bool counts;
};

class ScheduleEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ScheduleEntryTest, CountsAtTheInstant) {
    const EntryCase &c = GetParam();
    ASSERT_EQ(DayOfWeek(At(8, 0, 0)), 6) << "the 8th must be a Friday";
    EXPECT_EQ(EntryCountsAt(Entry(c.start, c.stop, c.days), c.instant, true), c.counts);
}

INSTANTIATE_TEST_SUITE_P(
    Instants, ScheduleEntryTest,
    ::testing::Values(
        // 2200-0200 on Fridays: the part after midnight belongs to Friday.
        EntryCase{"FridayTailEveningFriday", "2200", "0200", "0000010", At(8, 22, 30), true},
        EntryCase{"FridayTailAfterMidnightSaturday", "2200", "0200", "0000010", At(9, 1, 59), true},
        EntryCase{"FridayTailNotFridayMorning", "2200", "0200", "0000010", At(8, 1, 0), false},
        EntryCase{"FridayTailNotSaturdayEvening", "2200", "0200", "0000010", At(9, 22, 30), false},
        EntryCase{"FridayTailEndsAtStop", "2200", "0200", "0000010", At(9, 2, 0), false},
        // Saturday only: Sunday 1 minus 1 wraps to Saturday 7.
        EntryCase{"SaturdayWrapsToSunday", "2300", "0100", "0000001", At(10, 0, 30), true},
        EntryCase{"SaturdayEvening", "2300", "0100", "0000001", At(9, 23, 30), true},
        EntryCase{"NotSundayEvening", "2300", "0100", "0000001", At(10, 23, 30), false},
        // Equal start and stop: from the start until midnight.
        EntryCase{"EqualBeforeStart", "1000", "1000", "0000000", At(4, 9, 59, 59), false},
        EntryCase{"EqualAtStart", "1000", "1000", "0000000", At(4, 10, 0), true},
        EntryCase{"EqualLateEvening", "1000", "1000", "0000000", At(4, 23, 59, 59), true},
        EntryCase{"EqualNotAfterMidnight", "1000", "1000", "0000000", At(5, 0, 30), false},
        // "2400" ends at 23:59:59.059.
        EntryCase{"EndOfDayJustBefore", "2300", "2400", "0000000", At(4, 23, 59, 59, 58), true},
        EntryCase{"EndOfDayAtTheEnd", "2300", "2400", "0000000", At(4, 23, 59, 59, 59), false},
        EntryCase{"EndOfDayBeforeStart", "2300", "2400", "0000000", At(4, 22, 59), false},
        // Start inclusive, stop exclusive.
        EntryCase{"AtStart", "0600", "0700", "0000000", At(4, 6, 0), true},
        EntryCase{"AtStop", "0600", "0700", "0000000", At(4, 7, 0), false},
        // The day mask: position 2 is Monday; a shorter mask has no later days.
        EntryCase{"MondayInMask", "0600", "0700", "0100000", At(4, 6, 30), true},
        EntryCase{"TuesdayNotInMask", "0600", "0700", "0100000", At(5, 6, 30), false},
        EntryCase{"ShortMaskMonday", "0600", "0700", "01", At(4, 6, 30), true},
        EntryCase{"ShortMaskTuesday", "0600", "0700", "01", At(5, 6, 30), false},
        EntryCase{"AllOnesEveryDay", "0600", "0700", "1111111", At(10, 6, 30), true},
        EntryCase{"OtherCharacterIsNotADay", "0600", "0700", "0X00000", At(4, 6, 30), false},
        // Times that are not a valid hhmm never count.
        EntryCase{"StartWithLetters", "06a0", "0700", "0000000", At(4, 6, 30), false},
        EntryCase{"StopWithBlank", "0600", "07 0", "0000000", At(4, 6, 30), false},
        EntryCase{"StartTooShort", "600", "0700", "0000000", At(4, 6, 30), false},
        EntryCase{"HourOutOfRange", "0600", "2500", "0000000", At(4, 6, 30), false},
        EntryCase{"StartAt2400", "2400", "0100", "0000000", At(4, 0, 30), false}),
    [](const auto &info) { return std::string(info.param.name); });

struct PowerCase {
    const char *name;
    const char *khz, *kw;
    bool shown;
};

class SchedulePowerTest : public ::testing::TestWithParam<PowerCase> {};

TEST_P(SchedulePowerTest, IsShownPower) {
    const PowerCase &c = GetParam();
    EXPECT_EQ(IsShownPower(c.khz, c.kw), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, SchedulePowerTest,
    ::testing::Values(PowerCase{"HalfKwShortWave", "6095", "0.5", false},
                      PowerCase{"OneKwShortWave", "6095", "1", true},
                      PowerCase{"FiveKwMediumWave", "1440", "5", false},
                      PowerCase{"JustBelowElevenMediumWave", "1999", "10.99", false},
                      PowerCase{"ElevenMediumWave", "1999", "11", true},
                      PowerCase{"ExactlyTwoThousandZeroKw", "2000", "0", true},
                      PowerCase{"ExactlyTwoThousandTinyPower", "2000", "0.001", true},
                      PowerCase{"JustAboveTwoThousand", "2001", "0.99", false},
                      PowerCase{"FiveKwElevenMetres", "26000", "5", false},
                      PowerCase{"TenKwElevenMetres", "25001", "10", true},
                      PowerCase{"NineKwJustAbove25000", "25001", "9.9", false},
                      PowerCase{"FiveKwAt25000", "25000", "5", true},
                      PowerCase{"FiveKwShortWave", "9000", "5", true},
                      PowerCase{"ExponentPower", "26000", "1e1", true},
                      PowerCase{"LeadingBlanksAndSign", "9000", "  +5", true},
                      PowerCase{"NegativePower", "9000", "-5", false},
                      PowerCase{"TrailingBlankIsNotANumber", "9000", "5 ", false},
                      PowerCase{"TextPower", "9000", "abc", false},
                      PowerCase{"EmptyPower", "9000", "", false},
                      PowerCase{"CommaIsNotTheDecimalPoint", "9000", "5,5", false},
                      PowerCase{"TextFrequencyCountsAsZeroStrong", "abc", "100", true},
                      PowerCase{"TextFrequencyCountsAsZeroWeak", "abc", "5", false},
                      PowerCase{"FrequencyWithTrailingBlankCountsAsZero", "9000 ", "5", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ScheduleEntryPower, PowerTestOnlyWhenAsked) {
    const ScheduleEntry weak = Entry("0600", "0700", "0000000", "6095", "0.5");
    EXPECT_FALSE(EntryCountsAt(weak, At(4, 6, 30), true));
    EXPECT_TRUE(EntryCountsAt(weak, At(4, 6, 30), false));
    const ScheduleEntry blank = Entry("0600", "0700", "0000000", "6095", "100 ");
    EXPECT_FALSE(EntryCountsAt(blank, At(4, 6, 30), true));
    EXPECT_TRUE(EntryCountsAt(blank, At(4, 6, 30), false));
}

TEST(SchedulePreviewSpan, TakesTheFieldTextWithinOneToSixty) {
    const std::pair<const char *, int> cases[] = {{"60", 60}, {"45", 45}, {"0", 1},  {"500", 60},
                                                  {"abc", 30}, {"", 30},  {"-5", 1}, {"1", 1}};
    for (const auto &[text, span] : cases) EXPECT_EQ(PreviewSpanOf(text), span) << text;
}

class ScheduleEvaluationTest : public ::testing::Test {
protected:
    ScheduleTable table;
    int Add(ScheduleEntry e) {
        table.Entries.push_back(e);
        return table.EntryCount() - 1;
    }
    static TEvaluationOptions Options(bool all, bool preview, int span = 60, bool powerTest = true) {
        TEvaluationOptions o;
        o.ShowAll = all;
        o.Preview = preview;
        o.PreviewSpan = span;
        o.PowerTest = powerTest;
        return o;
    }
};

TEST_F(ScheduleEvaluationTest, PreviewAtHalfPastTheMinuteWithSpanSixty) {
    const int later = Add(Entry("1030", "1130"));
    const int shortOne = Add(Entry("1015", "1045"));
    const int nextHour = Add(Entry("1100", "1200"));
    const int onAir = Add(Entry("0900", "1030"));
    const int tooLate = Add(Entry("1105", "1130"));
    const TEvaluation r = EvaluateSchedule(table, At(4, 10, 0, 30), Options(false, true));
    const std::vector<TScheduleRow> expected = {{onAir, TRowMark::OnAir},
                                                {later, TRowMark::Next},
                                                {shortOne, TRowMark::Next},
                                                {nextHour, TRowMark::Next}};
    EXPECT_EQ(r.Rows, expected);
    EXPECT_EQ(r.OnAirCount, 1);
    EXPECT_EQ(r.PreviewCount, 3);
    EXPECT_EQ(table.Entries[static_cast<size_t>(onAir)].AirState, TAirState::OnAir);
    EXPECT_EQ(table.Entries[static_cast<size_t>(tooLate)].AirState, TAirState::OffAir);
}

TEST_F(ScheduleEvaluationTest, ShortSpanMissesWhatALongOneFinds) {
    Add(Entry("1030", "1130"));
    const TEvaluation r = EvaluateSchedule(table, At(4, 10, 0, 30), Options(false, true, 20));
    EXPECT_EQ(r.PreviewCount, 0);
    EXPECT_TRUE(r.Rows.empty());
}

TEST_F(ScheduleEvaluationTest, PreviewCrossesMidnightIntoTheNextWeekday) {
    const int tuesday = Add(Entry("0000", "0100", "0010000"));
    Add(Entry("0000", "0100", "0100000")); // Monday only
    const TEvaluation r = EvaluateSchedule(table, At(4, 23, 30), Options(false, true, 60));
    const std::vector<TScheduleRow> expected = {{tuesday, TRowMark::Next}};
    EXPECT_EQ(r.Rows, expected);
}

TEST_F(ScheduleEvaluationTest, AllAndPreviewListAnUpcomingEntryTwice) {
    const int onAir = Add(Entry("0900", "1030"));
    const int upcoming = Add(Entry("1030", "1130"));
    const int evening = Add(Entry("1500", "1600"));
    const TEvaluation r = EvaluateSchedule(table, At(4, 10, 0, 30), Options(true, true));
    const std::vector<TScheduleRow> expected = {{onAir, TRowMark::OnAir},
                                                {upcoming, TRowMark::None},
                                                {evening, TRowMark::None},
                                                {upcoming, TRowMark::Next}};
    EXPECT_EQ(r.Rows, expected);
    EXPECT_EQ(r.OnAirCount, 1);
    EXPECT_EQ(r.PreviewCount, 1);
}

TEST_F(ScheduleEvaluationTest, NothingOnAirListsNothing) {
    Add(Entry("1500", "1600"));
    const TEvaluation r = EvaluateSchedule(table, At(4, 10, 0, 30), Options(false, false));
    EXPECT_TRUE(r.Rows.empty());
    EXPECT_EQ(r.OnAirCount, 0);
    EXPECT_EQ(r.PreviewCount, 0);
}

TEST_F(ScheduleEvaluationTest, WeakOrBlankPowerHiddenUnlessLowPowerIsTicked) {
    const int weak = Add(Entry("0900", "1100", "0000000", "6095", "0.5"));
    const int blank = Add(Entry("1030", "1130", "0000000", "6095", "100 "));
    const TEvaluation hidden = EvaluateSchedule(table, At(4, 10, 0, 30), Options(false, true, 60, true));
    EXPECT_TRUE(hidden.Rows.empty());
    const TEvaluation listedUnmarked = EvaluateSchedule(table, At(4, 10, 0, 30), Options(true, true, 60, true));
    const std::vector<TScheduleRow> unmarked = {{weak, TRowMark::None}, {blank, TRowMark::None}};
    EXPECT_EQ(listedUnmarked.Rows, unmarked);
    const TEvaluation all = EvaluateSchedule(table, At(4, 10, 0, 30), Options(false, true, 60, false));
    const std::vector<TScheduleRow> counted = {{weak, TRowMark::OnAir}, {blank, TRowMark::Next}};
    EXPECT_EQ(all.Rows, counted);
}

TEST_F(ScheduleEvaluationTest, InvalidTimesAreListedOnlyWithAll) {
    const int broken = Add(Entry("ab00", "1100"));
    EXPECT_TRUE(EvaluateSchedule(table, At(4, 10, 0, 30), Options(false, true)).Rows.empty());
    const std::vector<TScheduleRow> expected = {{broken, TRowMark::None}};
    EXPECT_EQ(EvaluateSchedule(table, At(4, 10, 0, 30), Options(true, true)).Rows, expected);
}

TEST_F(ScheduleEvaluationTest, EachEvaluationRewritesTheAirState) {
    const int entry = Add(Entry("1000", "1100"));
    EvaluateSchedule(table, At(4, 10, 30), Options(false, false));
    EXPECT_EQ(table.Entries[static_cast<size_t>(entry)].AirState, TAirState::OnAir);
    EvaluateSchedule(table, At(4, 11, 30), Options(false, false));
    EXPECT_EQ(table.Entries[static_cast<size_t>(entry)].AirState, TAirState::OffAir);
}

} // namespace
} // namespace drmq
