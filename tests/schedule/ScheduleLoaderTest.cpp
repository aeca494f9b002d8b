// The schedule loader: line and block rules, fixed columns and widths.
#include "core/RunErrors.h"
#include "schedule/ScheduleLoader.h"
#include "support/ScheduleFileBuilder.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace drmq {
namespace {

using test::ScheduleBlockText;
using test::ScheduleFileText;
using test::TScheduleBlock;

TEST(ScheduleLoader, CutsEveryFieldFromItsColumn) {
    TScheduleBlock b;
    b.Start = "2200";
    b.Stop = "0200";
    b.Days = "0000010";
    b.Frequency = "15440";
    b.Target = "West Africa";
    b.Power = "0.5";
    b.Programme = "Radio Nordwind";
    b.Language = "Fran\xE7" "ais";
    b.Site = "Kvitsoy";
    b.Country = "Norway";
    const ScheduleTable table = ParseSchedule(ScheduleFileText({b}));
    ASSERT_EQ(table.EntryCount(), 1);
    const ScheduleEntry &e = table.Entries[0];
    EXPECT_EQ(e.StartTime.View(), "2200");
    EXPECT_EQ(e.StopTime.View(), "0200");
    EXPECT_EQ(e.Days.View(), "0000010");
    EXPECT_EQ(e.FrequencyKHz.View(), "15440");
    EXPECT_EQ(e.Target.View(), "West Africa");
    EXPECT_EQ(e.PowerKW.View(), "0.5");
    EXPECT_EQ(e.Programme.View(), "Radio Nordwind");
    EXPECT_EQ(e.Language.View(), "Fran\xE7" "ais"); // the byte stays a byte
    EXPECT_EQ(e.Site.View(), "Kvitsoy");
    EXPECT_EQ(e.Country.View(), "Norway");
    EXPECT_EQ(e.AirState, TAirState::None);
}

TEST(ScheduleLoader, KeepsEntriesInFileOrder) {
    std::vector<TScheduleBlock> blocks(3);
    blocks[0].Frequency = "531";
    blocks[1].Frequency = "1440";
    blocks[2].Frequency = "999";
    const ScheduleTable table = ParseSchedule(ScheduleFileText(blocks));
    ASSERT_EQ(table.EntryCount(), 3);
    EXPECT_EQ(table.Entries[0].FrequencyKHz.View(), "531");
    EXPECT_EQ(table.Entries[1].FrequencyKHz.View(), "1440");
    EXPECT_EQ(table.Entries[2].FrequencyKHz.View(), "999");
}

TEST(ScheduleLoader, NeverExaminesTheFirstLine) {
    TScheduleBlock first, second;
    first.Frequency = "1111";
    second.Frequency = "2222";
    const ScheduleTable table = ParseSchedule(ScheduleBlockText(first) + ScheduleBlockText(second));
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(table.Entries[0].FrequencyKHz.View(), "2222");
}

TEST(ScheduleLoader, MarkerAfterOtherTextStillOpensABlockButColumnsStayFixed) {
    TScheduleBlock b;
    std::string block = ScheduleBlockText(b);
    const std::string text = "title\r\n  " + block;
    const ScheduleTable table = ParseSchedule(text);
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(table.Entries[0].StartTime.View(), "C=06");
    EXPECT_EQ(table.Entries[0].StopTime.View(), "0-07");
    EXPECT_EQ(table.Entries[0].FrequencyKHz.View(), "6095");
}

TEST(ScheduleLoader, MarkerInsideABlockIsAFieldLine) {
    TScheduleBlock b;
    b.Programme = "StartStopTimeUTC=";
    const ScheduleTable table = ParseSchedule(ScheduleFileText({b}));
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(table.Entries[0].Programme.View(), "StartStopTimeUTC=");
    EXPECT_EQ(table.Entries[0].Language.View(), "English");
    EXPECT_EQ(table.Entries[0].Country.View(), "Germany");
}

struct WidthCase {
    const char *name;
    std::string TScheduleBlock::*field;
    std::string written;
    std::string_view (*read)(const ScheduleEntry &);
    std::string expected;
};

class ScheduleLoaderWidth : public ::testing::TestWithParam<WidthCase> {};

TEST_P(ScheduleLoaderWidth, KeepsAtMostTheFieldWidth) {
    const WidthCase &c = GetParam();
    TScheduleBlock b;
    b.*c.field = c.written;
    const ScheduleTable table = ParseSchedule(ScheduleFileText({b}));
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(c.read(table.Entries[0]), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ScheduleLoaderWidth,
    ::testing::Values(
        WidthCase{"Programme25", &TScheduleBlock::Programme, "ABCDEFGHIJKLMNOPQRSTUVWXY",
                  [](const ScheduleEntry &e) { return e.Programme.View(); }, "ABCDEFGHIJKLMNOPQRST"},
        WidthCase{"Language16", &TScheduleBlock::Language, "ABCDEFGHIJKLMNOP",
                  [](const ScheduleEntry &e) { return e.Language.View(); }, "ABCDEFGHIJKLMNO"},
        WidthCase{"Power6", &TScheduleBlock::Power, "100.25", [](const ScheduleEntry &e) { return e.PowerKW.View(); },
                  "100.2"},
        WidthCase{"Target21", &TScheduleBlock::Target, "ABCDEFGHIJKLMNOPQRSTU",
                  [](const ScheduleEntry &e) { return e.Target.View(); }, "ABCDEFGHIJKLMNOPQRST"},
        WidthCase{"Site21", &TScheduleBlock::Site, "ABCDEFGHIJKLMNOPQRSTU",
                  [](const ScheduleEntry &e) { return e.Site.View(); }, "ABCDEFGHIJKLMNOPQRST"},
        WidthCase{"Country21", &TScheduleBlock::Country, "ABCDEFGHIJKLMNOPQRSTU",
                  [](const ScheduleEntry &e) { return e.Country.View(); }, "ABCDEFGHIJKLMNOPQRST"},
        WidthCase{"Days8", &TScheduleBlock::Days, "01111101", [](const ScheduleEntry &e) { return e.Days.View(); },
                  "0111110"},
        WidthCase{"Frequency6", &TScheduleBlock::Frequency, "153000",
                  [](const ScheduleEntry &e) { return e.FrequencyKHz.View(); }, "15300"},
        WidthCase{"TrailingBlanksKept", &TScheduleBlock::Power, "5  ",
                  [](const ScheduleEntry &e) { return e.PowerKW.View(); }, "5  "},
        WidthCase{"StartCutToFour", &TScheduleBlock::Start, "0600",
                  [](const ScheduleEntry &e) { return e.StartTime.View(); }, "0600"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ScheduleLoader, EmptyAndShortLinesGiveEmptyFields) {
    const std::string text = "title\r\n"
                             "StartStopTimeUTC=0600\r\n" // stop column missing
                             "Days\r\n"                   // shorter than column 15
                             "Frequency=\r\n"             // ends right before the value
                             "\r\n"
                             "Power=5\r\n"
                             "Programme=X\r\n"
                             "Language=\r\n"
                             "Site=Y\r\n"
                             "Country=Z\r\n";
    const ScheduleTable table = ParseSchedule(text);
    ASSERT_EQ(table.EntryCount(), 1);
    const ScheduleEntry &e = table.Entries[0];
    EXPECT_EQ(e.StartTime.View(), "0600");
    EXPECT_EQ(e.StopTime.View(), "");
    EXPECT_EQ(e.Days.View(), "");
    EXPECT_EQ(e.FrequencyKHz.View(), "");
    EXPECT_EQ(e.Target.View(), "");
    EXPECT_EQ(e.PowerKW.View(), "5");
    EXPECT_EQ(e.Programme.View(), "X");
    EXPECT_EQ(e.Site.View(), "Y");
    EXPECT_EQ(e.Country.View(), "Z");
}

TEST(ScheduleLoader, BlockCutShortByTheEndOfFileStillCounts) {
    const std::string text = "title\nStartStopTimeUTC=1000-1100\nDaysOfTheWeek=0000000\nFrequency=7325";
    const ScheduleTable table = ParseSchedule(text);
    ASSERT_EQ(table.EntryCount(), 1);
    EXPECT_EQ(table.Entries[0].FrequencyKHz.View(), "7325");
    EXPECT_EQ(table.Entries[0].Target.View(), "");
    EXPECT_EQ(table.Entries[0].Country.View(), "");
}

// The file ends right after the marker: every field is cut from nothing
// (the sanitizer build catches a null pointer handed on here).
TEST(ScheduleLoader, FileEndingAfterTheMarkerGivesOneEmptyEntry) {
    const ScheduleTable table = ParseSchedule("\nStartStopTimeUTC=");
    ASSERT_EQ(table.EntryCount(), 1);
    const ScheduleEntry &e = table.Entries[0];
    for (std::string_view field : {e.StartTime.View(), e.StopTime.View(), e.Days.View(), e.FrequencyKHz.View(),
                                   e.Target.View(), e.PowerKW.View(), e.Programme.View(), e.Language.View(),
                                   e.Site.View(), e.Country.View()})
        EXPECT_EQ(field, "");
}

TEST(ScheduleLoader, LineEndsWithAndWithoutCarriageReturn) {
    TScheduleBlock b;
    std::string lf = ScheduleFileText({b, b});
    std::string onlyLf;
    for (char c : lf)
        if (c != '\r') onlyLf += c;
    // A CR inside a line is dropped, not kept as a character.
    const std::string strayCr = "title\r\nStartStopTimeUTC=0600-0700\r\nDaysOfTheWeek=00\r00000\r\n"
                                "Frequency=60\r95\r\nTarget=Europe\r\nPower=100\r\nProgramme=Radio Test\r\n"
                                "Language=English\r\nSite=Testsite\r\nCountry=Germany";
    for (const std::string &text : {lf, onlyLf, strayCr}) {
        const ScheduleTable table = ParseSchedule(text);
        ASSERT_GE(table.EntryCount(), 1);
        EXPECT_EQ(table.Entries[0].Days.View(), "0000000");
        EXPECT_EQ(table.Entries[0].FrequencyKHz.View(), "6095");
        EXPECT_EQ(table.Entries[0].Country.View(), "Germany");
    }
}

TEST(ScheduleLoader, FileWithoutMarkerHasNoEntries) {
    EXPECT_EQ(ParseSchedule("").EntryCount(), 0);
    EXPECT_EQ(ParseSchedule("[Schedule]\r\n; nothing yet\r\nProgramme=Radio\r\n").EntryCount(), 0);
    // Case matters for the marker.
    EXPECT_EQ(ParseSchedule("t\r\nstartstoptimeutc=0600-0700\r\n").EntryCount(), 0);
}

TEST(ScheduleLoader, LoadsFilesAtAndBeyondTheReservedCapacity) {
    for (int count : {20000, 20001}) {
        const auto blocks = test::GeneratedSchedule(count);
        const ScheduleTable table = ParseSchedule(ScheduleFileText(blocks));
        ASSERT_EQ(table.EntryCount(), count);
        EXPECT_EQ(table.Entries.back().FrequencyKHz.View(), blocks.back().Frequency);
        EXPECT_EQ(table.Entries.back().Programme.View(), blocks.back().Programme);
    }
}

class ScheduleLoaderFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string Path(const char *name) const { return dir.path().toStdString() + "/" + name; }
};

TEST_F(ScheduleLoaderFile, ReadsTheFileByItsPath) {
    {
        std::ofstream out(Path("DRMSchedule.ini"), std::ios::binary);
        out << ScheduleFileText({TScheduleBlock{}, TScheduleBlock{}});
    }
    EXPECT_EQ(LoadScheduleFile(Path("DRMSchedule.ini")).EntryCount(), 2);
}

TEST_F(ScheduleLoaderFile, MissingFileRaisesTheGermanFileError) {
    try {
        LoadScheduleFile(Path("DRMSchedule.ini"));
        FAIL() << "no error raised";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Code(), 2);
        EXPECT_STREQ(e.what(), "Datei nicht gefunden");
    }
}

TEST_F(ScheduleLoaderFile, UnreadableFileRaisesAFileError) {
    // A folder in the file's place opens but cannot be read.
    ASSERT_TRUE(QDir(dir.path()).mkdir("DRMSchedule.ini"));
    EXPECT_THROW(LoadScheduleFile(Path("DRMSchedule.ini")), EInOutError);
}

} // namespace
} // namespace drmq
