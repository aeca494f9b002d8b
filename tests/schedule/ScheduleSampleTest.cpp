// The sample schedule shipped beside the program: its format, and that it
// has transmissions on air at the usual listening times of every weekday.
#include "core/UtcClock.h"
#include "schedule/ScheduleEvaluation.h"
#include "schedule/ScheduleLoader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace drmq {
namespace {

std::string SamplePath() { return DRMQ_SOURCE_DIR "/data/DRMSchedule.ini"; }

std::string SampleBytes() {
    std::ifstream in(SamplePath(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ScheduleSample, IsSingleByteTextWithCrLfLineEnds) {
    const std::string bytes = SampleBytes();
    ASSERT_FALSE(bytes.empty());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
    // Windows-1252, not UTF-8: "ü" is the single byte FC.
    EXPECT_NE(bytes.find("Gr\xFCnfeld"), std::string::npos);
    EXPECT_EQ(bytes.find("\xC3\xBC"), std::string::npos);
}

TEST(ScheduleSample, EveryEntryIsWellFormed) {
    const ScheduleTable table = LoadScheduleFile(SamplePath());
    ASSERT_GE(table.EntryCount(), 20);
    for (const ScheduleEntry &e : table.Entries) {
        EXPECT_EQ(e.StartTime.View().size(), 4u);
        EXPECT_EQ(e.StopTime.View().size(), 4u);
        EXPECT_EQ(e.Days.View().size(), 7u);
        EXPECT_FALSE(e.FrequencyKHz.View().empty());
        EXPECT_FALSE(e.Programme.View().empty());
        EXPECT_FALSE(e.Country.View().empty());
        // Every entry counts on some day when the power filter is off.
        bool somewhen = false;
        for (int day = 3; day <= 9 && !somewhen; ++day)
            for (int hour = 0; hour < 24 && !somewhen; ++hour)
                somewhen = EntryCountsAt(e, EncodeDateTime(DateTimeParts{2024, 3, day, hour, 15, 0, 0}), false);
        EXPECT_TRUE(somewhen) << e.Programme.View();
    }
}

TEST(ScheduleSample, SeveralTransmissionsOnAirAtTypicalTimes) {
    ScheduleTable table = LoadScheduleFile(SamplePath());
    // Sunday 3 March 2024 to Saturday 9 March, morning, midday, evening, night.
    for (int day = 3; day <= 9; ++day) {
        for (int hour : {3, 8, 13, 20, 23}) {
            const double at = EncodeDateTime(DateTimeParts{2024, 3, day, hour, 15, 0, 0});
            TEvaluationOptions options;
            const TEvaluation r = EvaluateSchedule(table, at, options);
            EXPECT_GE(r.OnAirCount, 3) << "March " << day << ", " << hour << ":15";
        }
    }
}

} // namespace
} // namespace drmq
