// The bulletin parser: column arithmetic on the classic and today's NOAA
// wording, the level tables and colours, and the download step's file.
#include "schedule/Bulletin.h"

#include "schedule/DownloadText.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace drmq {
namespace {

std::string BulletinText(const std::string &line8, const std::string &line9,
                         const std::string &banner = std::string(kBulletinBanner)) {
    return banner + "\r\n"
                    ":Issued: 2024 Feb 29 2105 UTC\r\n"
                    "# Prepared by the US Dept. of Commerce, NOAA, Space Weather Prediction Center\r\n"
                    "#\r\n"
                    "#          Geophysical Alert Message\r\n"
                    "#\r\n"
                    "Solar-terrestrial indices for 28 February follow.\r\n" +
           line8 + "\r\n" + line9 + "\r\n\r\nNo space weather storms were observed.\r\n";
}

const char *const kClassicLine8 = "Solar flux 107 and mid-latitude A-index 8.";
const char *const kClassicLine9 = "The mid-latitude K-index at 2100 UTC on 29 February was 2 (16 nT).";

struct TParseCase {
    const char *name;
    std::string line8;
    std::string line9;
    TBulletinValues values;
    TBulletinLevels levels;
};

TEST(Bulletin, ReadsTheClassicAndTodaysWording) {
    const TParseCase cases[] = {
        {"classic", kClassicLine8, kClassicLine9, {"107", "8", "2", "2100 29 Feb"}, {4, 2, 1}},
        {"since 2011", "Solar flux 123 and estimated planetary A-index 7.",
         "The estimated planetary K-index at 0600 UTC on 16 August was 3.", {"123", "7", "3", "0600 16 Aug"}, {4, 2, 2}},
        {"today, whole decimals", "Solar flux 152 and estimated planetary A-index 12.",
         "The estimated planetary K-index at 1800 UTC on 04 March was 2.00.", {"152", "12", "2.00", "1800 04 Mar"},
         {2, 2, 1}},
        {"today, rounded up", "Solar flux 175 and estimated planetary A-index 31.",
         "The estimated planetary K-index at 0300 UTC on 05 March was 2.67.", {"175", "31", "2.67", "0300 05 Mar"},
         {1, 4, 2}},
        {"today, rounded down", "Solar flux 79 and estimated planetary A-index 101.",
         "The estimated planetary K-index at 0300 UTC on 05 March was 6.33.", {"79", "101", "6.33", "0300 05 Mar"},
         {6, 6, 5}},
    };
    for (const auto &c : cases) {
        const auto values = ParseBulletin(BulletinText(c.line8, c.line9));
        ASSERT_TRUE(values) << c.name;
        EXPECT_EQ(values->SolarFlux, c.values.SolarFlux) << c.name;
        EXPECT_EQ(values->AIndex, c.values.AIndex) << c.name;
        EXPECT_EQ(values->KIndex, c.values.KIndex) << c.name;
        EXPECT_EQ(values->KIndexTime, c.values.KIndexTime) << c.name;
        TBulletinLevels levels;
        RateBulletin(*values, levels);
        EXPECT_EQ(levels.SolarFluxLevel, c.levels.SolarFluxLevel) << c.name;
        EXPECT_EQ(levels.AIndexLevel, c.levels.AIndexLevel) << c.name;
        EXPECT_EQ(levels.KIndexLevel, c.levels.KIndexLevel) << c.name;
    }
}

TEST(Bulletin, LineEndsOtherThanCrLfReadTheSame) {
    std::string text = BulletinText(kClassicLine8, kClassicLine9);
    std::string lf;
    for (char c : text)
        if (c != '\r') lf += c;
    const auto values = ParseBulletin(lf);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->SolarFlux, "107");
    EXPECT_EQ(values->KIndexTime, "2100 29 Feb");
}

TEST(Bulletin, AnotherFirstLineIsNoBulletin) {
    for (const std::string banner : {":Product: Geophysical Alert Message wwv.txt ", ":Product: Something else",
                                     "<html><body>Not Found</body></html>", ""}) {
        EXPECT_FALSE(ParseBulletin(BulletinText(kClassicLine8, kClassicLine9, banner))) << banner;
    }
    EXPECT_FALSE(ParseBulletin(""));
}

TEST(Bulletin, MissingMarkersGiveEmptyOrUnconvertibleValues) {
    // No "and", no "ndex" and no "." on line 8; no "was" on line 9.
    const auto values = ParseBulletin(BulletinText("Solar flux unavailable today", "K-index at 0600 UTC on 16 August"));
    ASSERT_TRUE(values);
    EXPECT_EQ(values->SolarFlux, "");
    EXPECT_EQ(values->AIndex, "");
    EXPECT_EQ(values->KIndex, "");
    EXPECT_EQ(values->KIndexTime, "0600 16 Aug");
    TBulletinLevels levels{3, 5, 2};
    RateBulletin(*values, levels);
    EXPECT_EQ(levels.SolarFluxLevel, 3);
    EXPECT_EQ(levels.AIndexLevel, 5);
    EXPECT_EQ(levels.KIndexLevel, 2);
}

TEST(Bulletin, ABulletinCutShortHasEmptyValues) {
    const auto values = ParseBulletin(std::string(kBulletinBanner) + "\r\n:Issued: 2024\r\n");
    ASSERT_TRUE(values);
    EXPECT_EQ(values->SolarFlux, "");
    EXPECT_EQ(values->AIndex, "");
    EXPECT_EQ(values->KIndex, "");
    EXPECT_EQ(values->KIndexTime, "");
}

TEST(Bulletin, ValuesThatAreNoNumbersKeepTheirLevels) {
    TBulletinLevels levels{2, 3, 4};
    RateBulletin({"n/a", "7x", "high", ""}, levels);
    EXPECT_EQ(levels.SolarFluxLevel, 2);
    EXPECT_EQ(levels.AIndexLevel, 3);
    EXPECT_EQ(levels.KIndexLevel, 4);
    // Only the value that converts is rated.
    RateBulletin({"oops", "40", "", ""}, levels);
    EXPECT_EQ(levels.SolarFluxLevel, 2);
    EXPECT_EQ(levels.AIndexLevel, 4);
    EXPECT_EQ(levels.KIndexLevel, 4);
    // A negative flux is no rating either.
    RateBulletin({"-5", "40", "1", ""}, levels);
    EXPECT_EQ(levels.SolarFluxLevel, 2);
    EXPECT_EQ(levels.KIndexLevel, 1);
}

struct TLevelCase {
    int value;
    int level;
};

TEST(BulletinLevels, SolarFluxTable) {
    const TLevelCase cases[] = {{-1, 0}, {0, 6},   {79, 6},  {80, 5},  {99, 5},  {100, 4}, {124, 4},
                                {125, 3}, {149, 3}, {150, 2}, {174, 2}, {175, 1}, {400, 1}};
    for (const auto &c : cases) EXPECT_EQ(SolarFluxLevelOf(c.value), c.level) << c.value;
}

TEST(BulletinLevels, AIndexTable) {
    const TLevelCase cases[] = {{-3, 1}, {0, 1},  {6, 1},  {7, 2},   {15, 2},  {16, 3},
                                {30, 3}, {31, 4}, {50, 4}, {51, 5}, {100, 5}, {101, 6}, {400, 6}};
    for (const auto &c : cases) EXPECT_EQ(AIndexLevelOf(c.value), c.level) << c.value;
}

TEST(BulletinLevels, KIndexTable) {
    const TLevelCase cases[] = {{-1, 1}, {0, 1}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {9, 6}};
    for (const auto &c : cases) EXPECT_EQ(KIndexLevelOf(c.value), c.level) << c.value;
}

TEST(BulletinLevels, ColoursFromGreenToRed) {
    const QColor expected[6] = {{0, 255, 0}, {184, 240, 15}, {255, 255, 0}, {254, 193, 112}, {255, 128, 0}, {255, 0, 0}};
    for (int level = 1; level <= 6; ++level)
        EXPECT_EQ(ToQColor(LevelColours[static_cast<size_t>(level - 1)]), expected[level - 1]) << level;
}

class BulletinDownload : public ::testing::Test {
protected:
    std::string Path() const { return dir.path().toStdString() + "/wwv.txt"; }
    std::string Read() const {
        std::string bytes;
        TryReadFileBytes(Path(), bytes);
        return bytes;
    }
    QTemporaryDir dir;
};

TEST_F(BulletinDownload, NonEmptyTextReplacesTheFileNormalised) {
    WriteFileAtomically(Path(), "old\r\n");
    EXPECT_TRUE(SaveBulletinDownload(std::string("new\nbulletin\r\0rest", 18), Path()));
    EXPECT_EQ(Read(), "new\r\nbulletin\r\n");
}

TEST_F(BulletinDownload, EmptyTextLeavesTheFile) {
    WriteFileAtomically(Path(), "old\r\n");
    EXPECT_FALSE(SaveBulletinDownload("", Path()));
    EXPECT_FALSE(SaveBulletinDownload(std::string("\0text", 5), Path()));
    EXPECT_EQ(Read(), "old\r\n");
}

TEST_F(BulletinDownload, UnwritableFolderIsSilent) {
    EXPECT_FALSE(SaveBulletinDownload("text", dir.path().toStdString() + "/missing/wwv.txt"));
}

TEST(BulletinSample, ShippedSampleIsABulletin) {
    // The sample beside the program, in the source tree's data folder.
    const QString sample = DRMQ_SOURCE_DIR "/data/wwv.txt";
    std::string text;
    ASSERT_TRUE(TryReadFileBytes(QDir::cleanPath(sample).toStdString(), text));
    const auto values = ParseBulletin(text);
    ASSERT_TRUE(values);
    TBulletinLevels levels;
    RateBulletin(*values, levels);
    EXPECT_GE(levels.SolarFluxLevel, 1);
    EXPECT_GE(levels.AIndexLevel, 1);
    EXPECT_GE(levels.KIndexLevel, 1);
    EXPECT_EQ(values->KIndexTime.size(), 11u);
}

} // namespace
} // namespace drmq
