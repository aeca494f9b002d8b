#include "core/UtcClock.h"
#include "logging/LevelLogParser.h"
#include "logging/ReceptionLog.h"
#include "support/LogWorkingDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>

namespace drmq {
namespace {

using test::LogWorkingDir;

// Writes blocks with the program's own log writer, driven by a hand-set clock,
// and adds what other writers or a crash leave behind.
class LevelLogParserTest : public ::testing::Test {
protected:
    void Begin(const DateTimeParts &start, const std::string &khz) {
        clock.Set(start);
        log.Begin();
        log.OpenFile("DRMQuodra.log", khz, "FRG100");
    }
    // One clock tick of a running log, then a second passes.
    void Tick(double level) {
        log.UpdateMinuteIndex();
        log.Sample(level);
        clock.AdvanceSeconds(1);
    }
    // A whole minute of ticks at one level.
    void Minutes(std::initializer_list<double> levels) {
        for (double level : levels)
            for (int s = 0; s < 60; ++s) Tick(level);
    }
    // Lets the minute of the last tick end, so its line is written, then stops the log.
    void FlushAndStop() {
        const std::uint16_t last = log.MinuteIndex();
        while (log.UpdateMinuteIndex() == last) clock.AdvanceSeconds(1);
        Tick(0);
        log.Finish();
    }
    void Append(const std::string &bytes) {
        std::ofstream(dir.Path() + "/DRMQuodra.log", std::ios::binary | std::ios::app) << bytes;
    }
    // The number of the first line of the file holding the text.
    std::size_t LineOf(const std::string &text) {
        const std::string bytes = dir.Read();
        return static_cast<std::size_t>(std::count(bytes.begin(), bytes.begin() + bytes.find(text), '\n')) + 1;
    }

    LogWorkingDir dir;
    TManualClock clock;
    TReceptionLog log{[this] { return clock.UtcNow(); }};
};

std::vector<TMinuteLevel> Levels(std::initializer_list<std::pair<int, double>> minutes) {
    std::vector<TMinuteLevel> result;
    for (const auto &[minute, level] : minutes) result.push_back({static_cast<std::uint16_t>(minute), level});
    return result;
}

bool AnyNote(const TLevelLog &log, const std::string &text) {
    return std::any_of(log.Notes.begin(), log.Notes.end(),
                       [&](const TLogNote &note) { return note.Text.find(text) != std::string::npos; });
}

TEST_F(LevelLogParserTest, BlocksOfEveryKindGiveTheirMinuteSeriesAndNotes) {
    // A plain night.
    Begin({2024, 3, 4, 18, 0, 10, 0}, "6095");
    Minutes({31, 32, 33});
    FlushAndStop();
    // A minute in which no tick fell has no line.
    Begin({2024, 3, 4, 21, 30, 0, 0}, "7325");
    Minutes({40, 41});
    clock.AdvanceSeconds(60);
    Minutes({43, 44});
    FlushAndStop();
    // The clock jumps two hours ahead, later one hour back.
    Begin({2024, 3, 5, 4, 0, 0, 0}, "9620");
    Minutes({50, 51});
    clock.AdvanceSeconds(7200);
    Minutes({52, 53});
    clock.AdvanceSeconds(-3600);
    Minutes({54});
    FlushAndStop();
    // Lines of another kind between blocks.
    Append("hello\r\nworld\r\n");
    // An older writer: a minute without samples, a stray line and a clock
    // that went back, which that writer counted backwards too.
    Append("\r\n>>>>\r\nDRM Quodra\r\nStarttime (UTC)  2024-03-06 05:00:00\r\nFrequency        3995 kHz\r\n"
           "Receiver         AOR7030\r\n\r\nMINUTE  RXL    Longitude   Latitude\r\n  0000   20\r\n  0001  nan\r\n"
           "  0002   22\r\nstray text\r\n  0001   23\r\n\r\nRXL min: 19.0, max: 24.0\r\n<<<<\r\n");
    // A header this reader does not know.
    Append("\r\n>>>>\r\nDRM Quodra 0.9\r\nStart 2024-03-06 06:00:00\r\n  0000   30\r\n\r\n<<<<\r\n");
    // Cut short: the program died while writing a minute line.
    Begin({2024, 3, 6, 19, 0, 0, 0}, "15120");
    Minutes({60, 61, 62});
    Append("  0003   6");

    const TLevelLog parsed = ReadLevelLogFile(dir.Path() + "/DRMQuodra.log");

    ASSERT_EQ(parsed.Blocks.size(), 5u);
    const TLevelBlock &plain = parsed.Blocks[0];
    EXPECT_EQ(plain.StartUtc, EncodeDateTime({2024, 3, 4, 18, 0, 10, 0}));
    EXPECT_EQ(plain.FrequencyKhz, "6095");
    EXPECT_EQ(plain.Receiver, "FRG100");
    EXPECT_TRUE(plain.Closed);
    EXPECT_EQ(plain.Minutes, Levels({{0, 31}, {1, 32}, {2, 33}}));
    EXPECT_NEAR(plain.MinuteUtc(plain.Minutes[2]), EncodeDateTime({2024, 3, 4, 18, 2, 10, 0}), 1e-9);

    EXPECT_EQ(parsed.Blocks[1].Minutes, Levels({{0, 40}, {1, 41}, {3, 43}, {4, 44}}));
    EXPECT_TRUE(parsed.Blocks[1].Closed);

    // The minutes go on after the clock went back; the jump ahead leaves a gap.
    // The tick right after going back still counts towards minute 123.
    EXPECT_EQ(parsed.Blocks[2].Minutes, Levels({{0, 50}, {1, 51}, {122, 52}, {123, 53}, {124, 54}}));
    EXPECT_TRUE(parsed.Blocks[2].Closed);

    const TLevelBlock &older = parsed.Blocks[3];
    EXPECT_EQ(older.FrequencyKhz, "3995");
    EXPECT_EQ(older.Receiver, "AOR7030");
    EXPECT_EQ(older.Minutes, Levels({{0, 20}, {2, 22}, {1, 23}}));
    EXPECT_TRUE(older.Closed);

    const TLevelBlock &cut = parsed.Blocks[4];
    EXPECT_EQ(cut.FrequencyKhz, "15120");
    EXPECT_FALSE(cut.Closed);
    EXPECT_EQ(cut.Minutes, Levels({{0, 60}, {1, 61}}));

    EXPECT_TRUE(AnyNote(parsed, "Lines " + std::to_string(LineOf("hello")) + "-" + std::to_string(LineOf("world"))));
    EXPECT_TRUE(AnyNote(parsed, "Line " + std::to_string(LineOf("stray text")) + ": not a line of this log"));
    EXPECT_TRUE(AnyNote(parsed, "minute 1 follows minute 2 (the clock went back)"));
    EXPECT_TRUE(AnyNote(parsed, "Line " + std::to_string(LineOf("DRM Quodra 0.9")) + ": block header not in this"));
    EXPECT_TRUE(AnyNote(parsed, "2024-03-06 19:00:00 has no closing lines"));
    EXPECT_TRUE(AnyNote(parsed, ": cut off at the end of the file"));
    EXPECT_EQ(parsed.Notes.size(), 6u);
}

TEST_F(LevelLogParserTest, DamagedTextNeverStopsTheReader) {
    Begin({2024, 3, 4, 18, 0, 0, 0}, "6095");
    Minutes({31, 32});
    FlushAndStop();
    const std::string good = dir.Read();
    // Every cut of a good log, and binary noise, still read without fault;
    // a cut inside a block keeps what was complete before it.
    for (std::size_t length = 0; length <= good.size(); ++length) {
        const TLevelLog parsed = ParseLevelLog(std::string_view(good).substr(0, length));
        ASSERT_LE(parsed.Blocks.size(), 1u);
        if (!parsed.Blocks.empty()) {
            EXPECT_LE(parsed.Blocks[0].Minutes.size(), 2u);
        }
    }
    std::string noise;
    for (int i = 0; i < 100000; ++i) noise += static_cast<char>((i * 7919) % 251);
    const TLevelLog parsed = ParseLevelLog(noise + good);
    EXPECT_LE(parsed.Notes.size(), 201u);
    ASSERT_FALSE(parsed.Blocks.empty());
    EXPECT_EQ(parsed.Blocks.back().Minutes, Levels({{0, 31}, {1, 32}}));
}

} // namespace
} // namespace drmq
