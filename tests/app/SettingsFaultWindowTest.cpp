// A settings file with values the program cannot take: every other key is
// still read, the bad ones are reported once and written back as they were.
#include "core/IniFile.h"
#include "support/ScheduleFileBuilder.h"
#include "support/WindowFixture.h"

#include <gtest/gtest.h>

namespace drmq::test {
namespace {

using SettingsFaultWindow = WindowFixture;

TEST_F(SettingsFaultWindow, BadNumbersCostNoOtherKeyAndComeBackAsRead) {
    WriteFile("DRMSchedule.ini", ScheduleFileText(GeneratedSchedule(3)));
    WriteSettings("Elektor IF=4S4.3\r\nElektor XTAL=50 MHz\r\nQRG=7325\r\nICOM rig address=$5C\r\n"
                  "DRT1 1st IF=none\r\nSchedule URL=http://schedule.example.net/s.ini\r\n"
                  "[Presets]\r\nMem1=7325\r\nMem10=15440\r\n[Colors]\r\nActive=clYellow\r\n"
                  "[Ports]\r\nCOM1=/dev/serial/by-id/usb-adapter\r\n");
    TForm1 &form = Start();
    ASSERT_EQ(errors.size(), 1) << errors.join("|").toStdString();
    for (const char *key : {"Elektor IF", "Elektor XTAL", "DRT1 1st IF"})
        EXPECT_TRUE(errors[0].contains(key)) << key << ": " << errors[0].toStdString();
    EXPECT_EQ(form.Edit3->text(), "4S4.3");
    EXPECT_EQ(form.Mem[9]->text(), "15440");
    EXPECT_EQ(form.Panel(2)->text(), "All: 3") << "the schedule still loads";

    form.FormClose();
    TIniFile ini(Folder() + "DRMQuodra.ini");
    EXPECT_EQ(ini.ReadString("Settings", "Elektor IF", ""), "4S4.3");
    EXPECT_EQ(ini.ReadString("Settings", "Elektor XTAL", ""), "50 MHz");
    EXPECT_EQ(ini.ReadString("Settings", "DRT1 1st IF", ""), "none");
    EXPECT_EQ(ini.ReadString("Settings", "QRG", ""), "7325");
    EXPECT_EQ(ini.ReadString("Settings", "ICOM rig address", ""), "$5C");
    EXPECT_EQ(ini.ReadString("Settings", "Schedule URL", ""), "http://schedule.example.net/s.ini");
    EXPECT_EQ(ini.ReadString("Presets", "Mem1", ""), "7325");
    EXPECT_EQ(ini.ReadString("Colors", "Active", ""), "clYellow");
    EXPECT_EQ(ini.ReadString("Colors", "Onair", ""), "clLime");
    EXPECT_EQ(ini.ReadString("Ports", "COM1", ""), "/dev/serial/by-id/usb-adapter");
    EXPECT_EQ(errors.size(), 1) << errors.join("|").toStdString();
}

} // namespace
} // namespace drmq::test
