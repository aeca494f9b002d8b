// The FRG100 calibration file: the token rule, the low 8 bits, the errors.
#include "core/RunErrors.h"
#include "rig/Calibration.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace drmq::test {
namespace {

constexpr int kCells = kCalibrationRows * kCalibrationColumns;

std::string Repeated(const std::string &token, int times) {
    std::string line;
    for (int i = 0; i < times; ++i) line += token + ",";
    return line;
}

TCalibrationTable Filled(std::uint8_t value) {
    TCalibrationTable t;
    for (auto &row : t) row.fill(value);
    return t;
}

TEST(CalibrationLine, LastNumberFillsTheRestWhenTheLineEndsEarly) {
    TCalibrationTable t{};
    ParseCalibrationLine("5,7,", t);
    EXPECT_EQ(t[0][0], 5);
    EXPECT_EQ(t[0][1], 7);
    EXPECT_EQ(t[255][58], 7);
    int sevens = 0;
    for (const auto &row : t)
        for (auto cell : row) sevens += cell == 7;
    EXPECT_EQ(sevens, kCells - 1);
}

TEST(CalibrationLine, NumbersKeepTheirLowEightBits) {
    TCalibrationTable t{};
    ParseCalibrationLine(Repeated("300", kCells), t);
    EXPECT_EQ(t, Filled(44));
    ParseCalibrationLine("-1,", t);
    EXPECT_EQ(t, Filled(255));
}

TEST(CalibrationLine, FillsRowByRowAndIgnoresTextAfterTheLastCell) {
    std::string line;
    for (int i = 0; i < kCells; ++i) line += std::to_string(i % 251) + ",";
    line += "999,garbage";
    TCalibrationTable t{};
    ParseCalibrationLine(line, t);
    EXPECT_EQ(t[0][58], 58);
    EXPECT_EQ(t[1][0], 59 % 251);
    EXPECT_EQ(t[255][58], (kCells - 1) % 251);
}

TEST(CalibrationLine, OneCharacterLineIsAConversionError) {
    TCalibrationTable t = Filled(9);
    EXPECT_THROW(ParseCalibrationLine("5", t), EConvertError);
    EXPECT_EQ(t, Filled(9));
}

TEST(CalibrationLine, BadTokenStopsWithCellsBeforeItFilled) {
    TCalibrationTable t = Filled(9);
    try {
        ParseCalibrationLine("5,6,x1,8,", t);
        FAIL() << "no conversion error";
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "'x1' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(t[0][0], 5);
    EXPECT_EQ(t[0][1], 6);
    EXPECT_EQ(t[0][2], 9);
}

TEST(CalibrationLine, NumberWithoutItsCommaIsAnEmptyToken) {
    TCalibrationTable t = Filled(9);
    EXPECT_THROW(ParseCalibrationLine("5,123", t), EConvertError);
    EXPECT_EQ(t[0][0], 5);
    EXPECT_EQ(t[0][1], 9);
}

TEST(CalibrationFile, OnlyTheFirstLineCounts) {
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/FRG100.cal";
    std::ofstream(path, std::ios::binary) << "5,7,\r\n1,2,3,\r\n";
    TCalibrationTable t{};
    LoadCalibrationFile(path, t);
    EXPECT_EQ(t[0][0], 5);
    EXPECT_EQ(t[0][1], 7);
    EXPECT_EQ(t[100][3], 7);
}

TEST(CalibrationFile, MissingFileIsAFileErrorAndKeepsTheTable) {
    QTemporaryDir dir;
    TCalibrationTable t = Filled(3);
    try {
        LoadCalibrationFile(dir.path().toStdString() + "/FRG100.cal", t);
        FAIL() << "no file error";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Code(), 2);
        EXPECT_STREQ(e.what(), "Datei nicht gefunden");
    }
    EXPECT_EQ(t, Filled(3));
}

TEST(CalibrationColumn, FiveHundredKilohertzBandsLimitedToTheTable) {
    EXPECT_EQ(CalibrationColumn(150), 0);
    EXPECT_EQ(CalibrationColumn(999), 0);
    EXPECT_EQ(CalibrationColumn(1000), 1);
    EXPECT_EQ(CalibrationColumn(6095), 11);
    EXPECT_EQ(CalibrationColumn(29499), 57);
    EXPECT_EQ(CalibrationColumn(29500), 58);
    EXPECT_EQ(CalibrationColumn(29999), 58);
}

} // namespace
} // namespace drmq::test
