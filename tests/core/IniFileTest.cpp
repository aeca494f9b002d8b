#include "core/IniFile.h"
#include "core/RunErrors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace drmq {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string Path(const std::string &name = "test.ini") const { return dir.path().toStdString() + "/" + name; }
    void Write(const std::string &bytes, const std::string &name = "test.ini") const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string &name = "test.ini") const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, LooksUpSectionsAndKeysWithoutRegardToCase) {
    Write("[settings]\r\nqrg=6095\r\n[PRESETS]\r\nMEM1=177\r\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("Settings", "QRG", "x"), "6095");
    EXPECT_EQ(ini.ReadString("Presets", "Mem1", "x"), "177");
    EXPECT_EQ(ini.ReadString("Presets", "QRG", "none"), "none");
}

TEST_F(IniFileTest, ValueLosesSurroundingBlanksAndOnePairOfQuotes) {
    Write("[S]\nA =  spaced out  \nB=\"quoted\"\nC=\"\"twice\"\"\nD='single'\nE=\"open\nF=\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("S", "A", ""), "spaced out");
    EXPECT_EQ(ini.ReadString("S", "B", ""), "quoted");
    EXPECT_EQ(ini.ReadString("S", "C", ""), "\"twice\"");
    EXPECT_EQ(ini.ReadString("S", "D", ""), "single");
    EXPECT_EQ(ini.ReadString("S", "E", ""), "\"open");
    EXPECT_EQ(ini.ReadString("S", "F", "default"), "");
}

TEST_F(IniFileTest, ValuesAreCutAt2047Characters) {
    Write("[S]\nLong=" + std::string(3000, 'x') + "\n");
    EXPECT_EQ(TIniFile(Path()).ReadString("S", "Long", "").size(), 2047u);
}

TEST_F(IniFileTest, IntegersReadDecimalAndHexAndFallBackToTheDefault) {
    Write("[S]\nDec=-12\nHex1=0x1F\nHex2=$10\nHex3=0X0a\nBad=abc\nEmpty=\nHalf=12abc\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("S", "Dec", 0), -12);
    EXPECT_EQ(ini.ReadInteger("S", "Hex1", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "Hex2", 0), 16);
    EXPECT_EQ(ini.ReadInteger("S", "Hex3", 0), 10);
    EXPECT_EQ(ini.ReadInteger("S", "Bad", 2), 2);
    EXPECT_EQ(ini.ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Half", 5), 5);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 9), 9);
}

TEST_F(IniFileTest, BoolIsAnyIntegerOtherThanZeroAndIsWrittenAsOneOrZero) {
    Write("[S]\nUpdate=0x1\nOff=0\nTwo=2\nWord=yes\n");
    TIniFile ini(Path());
    EXPECT_TRUE(ini.ReadBool("S", "Update", false));
    EXPECT_FALSE(ini.ReadBool("S", "Off", true));
    EXPECT_TRUE(ini.ReadBool("S", "Two", false));
    EXPECT_FALSE(ini.ReadBool("S", "Word", false));
    ini.WriteBool("S", "Off", true);
    ini.WriteBool("S", "Two", false);
    EXPECT_EQ(ini.ReadString("S", "Off", ""), "1");
    EXPECT_EQ(ini.ReadString("S", "Two", ""), "0");
}

TEST_F(IniFileTest, WritingReplacesInPlaceAndKeepsEverythingElse) {
    Write("; my comment\r\n[Settings]\r\nQRG=6095\r\nUnknown=keep me\r\n\r\n[Other]\r\nX=1\r\n");
    TIniFile ini(Path());
    ini.WriteString("settings", "qrg", "15440");
    ini.WriteString("Settings", "Step", "2");
    ini.WriteString("Colors", "Active", "clBlue");
    ini.UpdateFile();
    EXPECT_EQ(Read(), "; my comment\r\n[Settings]\r\nqrg=15440\r\nUnknown=keep me\r\nStep=2\r\n\r\n"
                      "[Other]\r\nX=1\r\n[Colors]\r\nActive=clBlue\r\n");
}

TEST_F(IniFileTest, SingleByteTextIsKeptByteForByte) {
    const std::string bytes = "[S]\nName=Radio Fran\xE7" "a \x80\xFF\n";
    Write(bytes);
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("S", "Name", ""), "Radio Fran\xE7" "a \x80\xFF");
    ini.WriteString("S", "Copy", ini.ReadString("S", "Name", ""));
    ini.UpdateFile();
    EXPECT_NE(Read().find("Copy=Radio Fran\xE7" "a \x80\xFF\r\n"), std::string::npos);
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedByTheFirstSave) {
    TIniFile ini(Path("new.ini"));
    EXPECT_EQ(ini.ReadInteger("Settings", "Step", 2), 2);
    ini.WriteInteger("Settings", "Step", 3);
    ini.UpdateFile();
    EXPECT_EQ(Read("new.ini"), "[Settings]\r\nStep=3\r\n");
}

TEST_F(IniFileTest, SaveReplacesTheFileInOneStepAndLeavesNoTemporaryBehind) {
    Write("[S]\r\nA=1\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(Path().c_str(), &before), 0);
    TIniFile ini(Path());
    ini.WriteString("S", "A", "2");
    ini.UpdateFile();
    struct stat after {};
    ASSERT_EQ(::stat(Path().c_str(), &after), 0);
    // A new inode means the old file was replaced by rename, not rewritten.
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(Read(), "[S]\r\nA=2\r\n");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path() + ".tmp")));
}

TEST_F(IniFileTest, UnwritableFileRaisesTheGermanMessageWithTheFullPath) {
    const std::string path = Path("missing-folder/DRMQuodra.ini");
    TIniFile ini(path);
    ini.WriteString("S", "A", "1");
    try {
        ini.UpdateFile();
        FAIL() << "no error raised";
    } catch (const ERunError &e) {
        EXPECT_EQ(std::string(e.what()), "In " + path + " kann nicht geschrieben werden");
    }
}

TEST_F(IniFileTest, FailedSaveLeavesTheOldFileIntact) {
    Write("[S]\r\nA=1\r\n");
    // A folder in the temporary file's place makes the write fail.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path() + ".tmp")));
    TIniFile ini(Path());
    ini.WriteString("S", "A", "2");
    EXPECT_THROW(ini.UpdateFile(), ERunError);
    EXPECT_EQ(Read(), "[S]\r\nA=1\r\n");
}

} // namespace
} // namespace drmq
