// The main window's start-up, clock, geometry and shutdown, driven through
// its handlers on the offscreen platform.
#include "app/RadioGroup.h"
#include "core/IniFile.h"
#include "core/RunErrors.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>

namespace drmq::test {
namespace {

using FoundationWindow = WindowFixture;

// The source tree, for the sample files shipped with the program.
std::string SourceFolder() { return DRMQ_SOURCE_DIR "/"; }

std::vector<std::string> KeysInOrder(const std::string &text) {
    std::vector<std::string> keys;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        if (line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
        else if (!line.empty()) keys.push_back(line);
        start = end + 2;
    }
    return keys;
}

TEST_F(FoundationWindow, FirstStartWithoutSettingsShowsTheDefaults) {
    // No settings file at all: "Update" defaults to on, so point the downloads
    // at a closed local port to keep the test off the network.
    WriteFile("DRMQuodra.ini", "[Settings]\r\nSchedule URL=http://127.0.0.1:1/x\r\nBulletin URL=http://127.0.0.1:1/y\r\n"
                               "EiBi URL=http://127.0.0.1:1/\r\nHFCC URL=http://127.0.0.1:1/\r\n"
                               "KiwiSDR URL=http://127.0.0.1:1/k\r\n");
    TForm1 &form = Start();
    EXPECT_EQ(form.pos(), QPoint(0, 0));
    // The design's 636 x 516, scaled to the desktop font.
    EXPECT_GT(form.Scale.Ratio(), 1.0);
    EXPECT_EQ(form.height(), form.Scale(516));
    EXPECT_EQ(form.width(), form.Scale(636));
    EXPECT_EQ(form.cbrx->currentText(), "AOR7030");
    EXPECT_EQ(form.cbcom->currentText(), "COM1");
    EXPECT_EQ(form.cbstep->currentText(), "5 kHz");
    EXPECT_EQ(form.Edit1->text(), "6095");
    const QStringList presets = {"177", "1485", "15440", "6095", "5990", "12345", "12345", "12345", "12345", "12345"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(form.Mem[static_cast<size_t>(i)]->text(), presets[i]) << i;
    EXPECT_TRUE(form.chkupdate->isChecked());
    EXPECT_FALSE(form.cbrxl->isChecked());
    EXPECT_FALSE(form.cblow->isChecked());
    EXPECT_TRUE(form.chknext->isChecked());
    EXPECT_TRUE(form.rb[1]->isChecked());
    EXPECT_EQ(form.rbswr->ItemIndex(), 0);
    EXPECT_EQ(form.gbsm->title(), QString::fromUtf8("[dBµV]"));
    EXPECT_EQ(form.Panel(1)->text(), "No Logging");
    EXPECT_EQ(form.Settings.ElektorDelay, 4000);
    EXPECT_EQ(form.Settings.ICOMRigAddress, "$00");
}

TEST_F(FoundationWindow, FormsAreCreatedInOrderWithTheirCaptions) {
    WriteSettings();
    Start();
    ASSERT_NE(program->Form2, nullptr);
    ASSERT_NE(program->Form3, nullptr);
    ASSERT_NE(program->Form4, nullptr);
    EXPECT_EQ(reinterpret_cast<QDialog *>(program->Form2)->windowTitle(), "Presets Settings");
    EXPECT_EQ(reinterpret_cast<QDialog *>(program->Form3)->windowTitle(), "Schedule Color Settings");
    EXPECT_EQ(reinterpret_cast<QDialog *>(program->Form4)->windowTitle(), "Attention!");
    EXPECT_EQ(program->Form1->Form2, program->Form2);
    EXPECT_EQ(QApplication::applicationName(), "DRM Quodra");
}

TEST_F(FoundationWindow, ClosingWritesEveryKeyInWriteOrder) {
    WriteSettings();
    TForm1 &form = Start();
    form.FormClose();
    const std::vector<std::string> expected = {
        "[Settings]", "Update", "PositionX", "PositionY", "Form height", "COM Port", "Receiver", "RXL Log", "Step",
        "Low Power", "Preview", "FT847 offset", "Preview span", "AOR 7030 offset", "Filter", "Attenuation",
        "FRG100 Delay", "Elektor Delay", "DTR1 Delay", "ICOM Baudrate", "Elektor IF", "Elektor XTAL", "QRG",
        "RXL antenna correction", "DWT Antenna", "DWT Attenuation", "ICOM rig address", "rb1", "rb2", "rb3", "rb4",
        "rb5", "rb6", "rb7", "rb8", "DRT1 1st IF", "Software RX", "Schedule URL", "Bulletin URL", "Hamlib model",
        "Hamlib port", "Hamlib speed", "Hamlib mode", "HFCC URL", "EiBi URL", "KiwiSDR URL", "Schedule sources",
        "Share receiver", "Share port", "Share address", "[Presets]", "Mem1", "Mem2", "Mem3", "Mem4", "Mem5", "Mem6",
        "Mem7", "Mem8", "Mem9", "Mem10", "[Colors]", "Active", "Active Text", "Onair", "Onair Text", "Preview",
        "Preview Text", "[Ports]", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"};
    EXPECT_EQ(KeysInOrder(ReadFile("DRMQuodra.ini")), expected);
    TIniFile ini(Folder() + "DRMQuodra.ini");
    EXPECT_EQ(ini.ReadString("Colors", "Active", ""), "clBlue");
    EXPECT_EQ(ini.ReadString("Colors", "Preview Text", ""), "clSilver");
    EXPECT_EQ(ini.ReadString("Ports", "COM1", ""), "/dev/ttyS0");
    EXPECT_EQ(ini.ReadString("Settings", "Preview", ""), "1");
    EXPECT_EQ(ini.ReadString("Settings", "rb2", ""), "1");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(FoundationWindow, UnconnectedListsKeepTheRememberedFilterAndAttenuation) {
    WriteSettings("Filter=3\r\nAttenuation=0\r\n");
    Start().FormClose();
    TIniFile ini(Folder() + "DRMQuodra.ini");
    EXPECT_EQ(ini.ReadInteger("Settings", "Filter", -9), 3);
    EXPECT_EQ(ini.ReadInteger("Settings", "Attenuation", -9), 0);
}

TEST_F(FoundationWindow, KeysWithoutControlsComeBackAsTheyWereRead) {
    WriteSettings("FT847 offset=x y\r\nICOM rig address=$5E\r\n"
                  "RXL antenna correction=1,5\r\nAOR 7030 offset=0x10\r\nFRG100 Delay=zz\r\nICOM Baudrate=300\r\n"
                  "Step=abc\r\nCOM Port=$3\r\n");
    TForm1 &form = Start();
    EXPECT_EQ(form.cbstep->currentIndex(), 2);
    EXPECT_EQ(form.cbcom->currentText(), "COM4");
    form.FormClose();
    TIniFile ini(Folder() + "DRMQuodra.ini");
    EXPECT_EQ(ini.ReadString("Settings", "FT847 offset", ""), "x y");
    EXPECT_EQ(ini.ReadString("Settings", "ICOM rig address", ""), "$5E");
    EXPECT_EQ(ini.ReadString("Settings", "RXL antenna correction", ""), "1,5");
    EXPECT_EQ(ini.ReadString("Settings", "AOR 7030 offset", ""), "16");
    EXPECT_EQ(ini.ReadString("Settings", "FRG100 Delay", ""), "0");
    EXPECT_EQ(ini.ReadString("Settings", "ICOM Baudrate", ""), "44");
    EXPECT_EQ(ini.ReadString("Settings", "Step", ""), "2");
}

TEST_F(FoundationWindow, ListIndexBeyondTheListSelectsNothingAndDecoderIsClamped) {
    WriteSettings("Receiver=30\r\nSoftware RX=5\r\n");
    TForm1 &form = Start();
    EXPECT_EQ(form.cbrx->currentIndex(), -1);
    EXPECT_EQ(form.rbswr->ItemIndex(), 1);
}

TEST_F(FoundationWindow, UnreadableColourKeepsItsDefault) {
    WriteSettings("[Colors]\r\nActive=not a colour\r\nOnair=$0000FF00\r\nPreview=clyellow\r\n");
    TForm1 &form = Start();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(form.Settings.Colors[csActive], 0xFF0000u);
    EXPECT_EQ(form.Settings.Colors[csOnair], 0x00FF00u);
    EXPECT_EQ(form.Settings.Colors[csPreview], 0x00FFFFu);
}

TEST_F(FoundationWindow, ResizingChangesOnlyTheHeightAndTheGridFollows) {
    WriteSettings();
    TForm1 &form = Start();
    form.show();
    form.resize(1200, 900);
    QApplication::processEvents();
    EXPECT_EQ(form.width(), form.Scale(636));
    EXPECT_EQ(form.height(), 900);
    EXPECT_EQ(form.StringGrid1->height(), 900 - form.Scale(172));
    form.resize(form.Scale(636), 500);
    QApplication::processEvents();
    EXPECT_EQ(form.StringGrid1->height(), 500 - form.Scale(172));
}

TEST_F(FoundationWindow, CaptionShowsTheUtcClock) {
    WriteSettings();
    TForm1 &form = Start();
    clock->Set(DateTimeParts{2024, 3, 4, 7, 5, 9, 0});
    form.Timer1Timer();
    EXPECT_EQ(form.windowTitle(), "DRM Quodra 3.2 by R. Vandelm" + QString(18, ' ') + "UTC: 07:05:09");
    EXPECT_EQ(form.RememberedMinute, "05");
}

TEST_F(FoundationWindow, MissingScheduleShowsTheErrorAndStillRestoresTheSortSettings) {
    WriteSettings("Low Power=1\r\nPreview=0\r\nrb2=0\r\nrb5=1\r\n");
    ASSERT_TRUE(QFile::remove(QString::fromStdString(Folder() + "DRMSchedule.ini")));
    // A readable bulletin is not parsed once the schedule is found missing.
    ASSERT_TRUE(QFile::copy(QString::fromStdString(SourceFolder() + "data/wwv.txt"),
                            QString::fromStdString(Folder() + "wwv.txt")));
    TForm1 &form = Start();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.front(), "Datei nicht gefunden");
    EXPECT_EQ(form.Panel(2)->text(), "");
    EXPECT_EQ(form.Panel(5)->text(), "");
    EXPECT_TRUE(form.cblow->isChecked());
    EXPECT_FALSE(form.chknext->isChecked());
    EXPECT_TRUE(form.rb[4]->isChecked());
    EXPECT_FALSE(form.rb[1]->isChecked());
    form.FormClose();
    TIniFile ini(Folder() + "DRMQuodra.ini");
    EXPECT_EQ(ini.ReadString("Settings", "Low Power", ""), "1");
    EXPECT_EQ(ini.ReadString("Settings", "rb5", ""), "1");
}

TEST_F(FoundationWindow, RepeatingClockErrorsDoNotStackBoxes) {
    WriteSettings();
    TForm1 &form = Start();
    errors.clear();
    auto failingTick = [&] { form.Guard(TErrorSource::Clock, [] { throw ERunError("cable pulled"); }); };
    int nested = 0;
    // While the first box is open the clock fails again: no new box; a user
    // action's error still shows.
    whileErrorBoxOpen = [&] {
        if (nested++ > 0) return;
        failingTick();
        failingTick();
        form.Guard(TErrorSource::Action, [] { throw ERunError("user action"); });
    };
    failingTick();
    EXPECT_EQ(errors, QStringList({"cable pulled", "user action"}));
    // Once the box is closed the same error shows again.
    whileErrorBoxOpen = nullptr;
    failingTick();
    EXPECT_EQ(errors.size(), 3);
}

TEST_F(FoundationWindow, UnwritableSettingsFileShowsTheGermanMessage) {
    WriteSettings();
    TForm1 &form = Start();
    // A folder in place of the temporary file makes saving impossible.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Folder() + "DRMQuodra.ini.tmp")));
    errors.clear();
    form.FormClose();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.front().toStdString(), "In " + Folder() + "DRMQuodra.ini kann nicht geschrieben werden");
    EXPECT_EQ(ReadFile("DRMQuodra.ini"), "[Settings]\r\nUpdate=0\r\n");
}

} // namespace
} // namespace drmq::test
