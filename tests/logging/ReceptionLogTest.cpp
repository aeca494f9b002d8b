#include "core/RunErrors.h"
#include "core/UtcClock.h"
#include "logging/ReceptionLog.h"
#include "support/LogWorkingDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace drmq {
namespace {

using test::LogWorkingDir;

const char *const kHeader0030 = "\r\n>>>>\r\nDRM Quodra\r\nStarttime (UTC)  2024-03-04 10:00:30\r\n"
                                "Frequency        6095 kHz\r\nReceiver         FRG100\r\n\r\n"
                                "MINUTE  RXL    Longitude   Latitude\r\n";

class ReceptionLogTest : public ::testing::Test {
protected:
    void SetUp() override { clock.Set(DateTimeParts{2024, 3, 4, 10, 0, 30, 0}); }

    void StartWithFile() {
        log.Begin();
        log.OpenFile("DRMQuodra.log", "6095", "FRG100");
    }
    // One clock tick of a log that writes the file: minute count, then the sample.
    void Tick(double rxl) {
        clock.AdvanceSeconds(1);
        log.UpdateMinuteIndex();
        log.Sample(rxl);
    }

    LogWorkingDir dir;
    TManualClock clock;
    TReceptionLog log{[this] { return clock.UtcNow(); }};
};

TEST_F(ReceptionLogTest, RunFrom100030To100310WritesMinutes0And1Only) {
    StartWithFile();
    // Ticks at 10:00:31 .. 10:03:10: minute 0 averages 42.5, minute 1 averages
    // 43.5, minute 2 is still running at the stop and counts only for min/max.
    std::vector<std::string> afterTick;
    for (int t = 1; t <= 160; ++t) {
        const double rxl = t < 60 ? 42.5 : t < 120 ? 43.5 : (t == 130 ? -20.0 : t == 140 ? 130.0 : 50.0);
        Tick(rxl);
        afterTick.push_back(dir.Read());
    }
    log.Finish();
    EXPECT_EQ(dir.Read(), std::string(kHeader0030) + "  0000   42\r\n  0001   44\r\n\r\nRXL min: -20.0, max: 130.0\r\n<<<<\r\n");
    // The lines appear at the ticks that reach minute 1 (10:01:30) and 2 (10:02:30).
    EXPECT_EQ(afterTick[58], kHeader0030);
    EXPECT_EQ(afterTick[59], std::string(kHeader0030) + "  0000   42\r\n");
    EXPECT_EQ(afterTick[118], std::string(kHeader0030) + "  0000   42\r\n");
    EXPECT_EQ(afterTick[119], std::string(kHeader0030) + "  0000   42\r\n  0001   44\r\n");
    EXPECT_FALSE(log.LogFileOpen());
}

TEST_F(ReceptionLogTest, StopBeforeTheFirstTickReportsTheStartValues) {
    StartWithFile();
    log.Finish();
    EXPECT_EQ(dir.Read(), std::string(kHeader0030) + "\r\nRXL min: 120.0, max: -14.0\r\n<<<<\r\n");
}

TEST_F(ReceptionLogTest, MaximumNeverFallsBelowItsStartValue) {
    StartWithFile();
    for (int t = 0; t < 5; ++t) Tick(-30.0);
    log.Finish();
    EXPECT_DOUBLE_EQ(log.RxlMax(), -14.0);
    EXPECT_DOUBLE_EQ(log.RxlMin(), -30.0);
}

TEST_F(ReceptionLogTest, TwoRunsAppendTwoBlocks) {
    StartWithFile();
    Tick(10.0);
    log.Finish();
    clock.Set(DateTimeParts{2024, 3, 4, 11, 0, 30, 0});
    log.Begin();
    log.OpenFile("DRMQuodra.log", "7325", "TS-850");
    log.Finish();
    const std::string second = "\r\n>>>>\r\nDRM Quodra\r\nStarttime (UTC)  2024-03-04 11:00:30\r\n"
                               "Frequency        7325 kHz\r\nReceiver         TS-850\r\n\r\n"
                               "MINUTE  RXL    Longitude   Latitude\r\n\r\nRXL min: 120.0, max: -14.0\r\n<<<<\r\n";
    EXPECT_EQ(dir.Read(), std::string(kHeader0030) + "\r\nRXL min: 10.0, max: 10.0\r\n<<<<\r\n" + second);
}

TEST_F(ReceptionLogTest, EarlierContentOfTheFileStays) {
    {
        std::ofstream old("DRMQuodra.log", std::ios::binary);
        old << "earlier\r\n";
    }
    StartWithFile();
    log.Finish();
    EXPECT_EQ(dir.Read().rfind("earlier\r\n\r\n>>>>\r\n", 0), 0u);
}

TEST_F(ReceptionLogTest, MinuteIndexCountsWholeMinutesSinceTheStart) {
    log.Begin();
    const struct {
        double seconds;
        unsigned minute;
    } steps[] = {{59, 0}, {1, 1}, {59.999, 1}, {0.001, 2}, {3600 - 120, 60}};
    for (const auto &s : steps) {
        clock.AdvanceSeconds(s.seconds);
        EXPECT_EQ(log.UpdateMinuteIndex(), s.minute) << s.seconds;
    }
}

TEST_F(ReceptionLogTest, MinuteIndexWrapsIn16Bits) {
    log.Begin();
    clock.AdvanceSeconds(65537.0 * 60);
    EXPECT_EQ(log.UpdateMinuteIndex(), 1u);
}

TEST_F(ReceptionLogTest, SkippedMinutesWriteOnlyTheMinuteOfTheLastSample) {
    StartWithFile();
    Tick(30.0);
    clock.AdvanceSeconds(5 * 60);
    log.UpdateMinuteIndex();
    log.Sample(40.0);
    clock.AdvanceSeconds(60);
    log.UpdateMinuteIndex();
    log.Sample(40.0);
    EXPECT_EQ(dir.Read(), std::string(kHeader0030) + "  0000   30\r\n  0005   40\r\n");
}

// A minute with no sample (the first tick came late, or the file logging
// was switched off and on) gets no line instead of "nan".
TEST_F(ReceptionLogTest, MinuteWithoutSamplesWritesNoLine) {
    StartWithFile();
    clock.AdvanceSeconds(90);
    log.UpdateMinuteIndex();
    log.Sample(25.0);
    clock.AdvanceSeconds(60);
    log.UpdateMinuteIndex();
    log.Sample(25.0);
    EXPECT_EQ(dir.Read(), std::string(kHeader0030) + "  0001   25\r\n");
}

// The clock set back (by the user or a time sync) must not restart or jump
// the minute count: the minutes go on from where they were.
TEST_F(ReceptionLogTest, ClockGoingBackDoesNotRewindTheMinutes) {
    StartWithFile();
    for (int t = 0; t < 150; ++t) Tick(20.0); // 10:03:00, minute 2
    clock.Set(DateTimeParts{2024, 3, 4, 9, 0, 0, 0});
    EXPECT_EQ(log.UpdateMinuteIndex(), 2u);
    log.Sample(20.0);
    for (int t = 0; t < 30; ++t) Tick(20.0); // 30 s on: minute 3
    EXPECT_EQ(log.MinuteIndex(), 3u);
    log.Finish();
    EXPECT_EQ(dir.Read(), std::string(kHeader0030) + "  0000   20\r\n  0001   20\r\n  0002   20\r\n"
                                                     "\r\nRXL min: 20.0, max: 20.0\r\n<<<<\r\n");
}

TEST_F(ReceptionLogTest, ClockBeforeTheStartCountsAsMinuteZero) {
    log.Begin();
    clock.AdvanceSeconds(-150);
    EXPECT_EQ(log.UpdateMinuteIndex(), 0u);
}

TEST_F(ReceptionLogTest, FileThatCannotBeOpenedRaisesTheGermanFileError) {
    std::filesystem::create_directory("DRMQuodra.log");
    log.Begin();
    try {
        log.OpenFile("DRMQuodra.log", "6095", "FRG100");
        FAIL() << "no error raised";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Code(), 5);
        EXPECT_STREQ(e.what(), "Dateizugriff verweigert");
    }
    EXPECT_FALSE(log.LogFileOpen());
}

TEST_F(ReceptionLogTest, WriteErrorsAreRaisedAndTheFileStillCloses) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    log.Begin();
    EXPECT_THROW(log.OpenFile("/dev/full", "6095", "FRG100"), EInOutError);
    EXPECT_TRUE(log.LogFileOpen());
    Tick(30.0);
    clock.AdvanceSeconds(60);
    log.UpdateMinuteIndex();
    try {
        log.Sample(50.0);
        FAIL() << "no error raised";
    } catch (const EInOutError &e) {
        EXPECT_STREQ(e.what(), "Zu wenig Speicherplatz");
    }
    // The failed line is lost, the sample that came with it is not.
    EXPECT_DOUBLE_EQ(log.RxlMax(), 50.0);
    EXPECT_THROW(log.Finish(), EInOutError);
    EXPECT_FALSE(log.LogFileOpen());
}

} // namespace
} // namespace drmq
