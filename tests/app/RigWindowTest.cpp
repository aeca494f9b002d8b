// Connecting and disconnecting every serial receiver through the main window
// against a pseudo-terminal: the bytes, the line settings, the failures, the
// replies, the keep-alive and the shutdown.
#include "support/EventLoopWait.h"
#include "support/RigWindowFixture.h"
#include "rig/ComPort.h"
#include "rig/ReceiverModel.h"

#include <gtest/gtest.h>
#include <termios.h>

namespace drmq::test {
namespace {

using namespace std::string_literals;

struct SerialModelCase {
    const char *name;
    int model;
    speed_t speed;
    bool twoStopBits;
    std::string connectBytes;
    std::string disconnectBytes;
};

class SerialConnect : public RigWindowFixture, public ::testing::WithParamInterface<SerialModelCase> {};

TEST_P(SerialConnect, SendsTheModelsBytesWithItsLineSettings) {
    const SerialModelCase &c = GetParam();
    WriteFile("FRG100.cal", "5,7,\r\n");
    StartWith(c.model);
    Click();
    ASSERT_TRUE(form->checkaor->isChecked());
    EXPECT_EQ(rig.Received(c.connectBytes.size()), c.connectBytes);
    termios line{};
    ASSERT_EQ(tcgetattr(pty.FarFd(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), c.speed);
    EXPECT_EQ((line.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_TRUE(form->PortUsed);
    EXPECT_FALSE(form->cbrx->isEnabled());
    EXPECT_FALSE(form->cbcom->isEnabled());
    EXPECT_TRUE(form->Edit1->isEnabled());

    Click();
    EXPECT_EQ(rig.Received(c.disconnectBytes.size()), c.disconnectBytes);
    EXPECT_FALSE(form->ComPort1->Connected());
    EXPECT_TRUE(form->PortUsed) << "a serial connect is remembered for the shutdown";
    EXPECT_TRUE(form->cbrx->isEnabled());
    EXPECT_FALSE(form->Edit1->isEnabled());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

// Edit1 shows 6095 (the default "QRG").
INSTANTIATE_TEST_SUITE_P(
    EverySerialModel, SerialConnect,
    ::testing::Values(
        SerialModelCase{"AOR7030", rmAOR7030, B1200, false, "\x81", "\x80"},
        SerialModelCase{"FRG100", rmFRG100, B4800, true, "\x20\x01\xF7\x01\x20\x00\x00\x00\x00\x0E"s, ""},
        SerialModelCase{"FRG8800", rmFRG8800, B4800, true, "\x81\x81\x81\x00\x00"s, "\x81\x81\x81\x80\x00"s},
        SerialModelCase{"FT847", rmFT847, B4800, true, "\x81\x81\x81\x00\x00\x04\x81\x81\x00\x07"s,
                        "\x00\x00\x00\x00\x80"s},
        // Both bars limited from 100 to 63 send their levels after the initialisation.
        SerialModelCase{"RX320D", rmRX320D, B1200, false, "C\x00\rG1\rW\x00\rA\x00\x3F\rV\x00\x3F\r"s, ""},
        SerialModelCase{"PCR1000", rmPCR1000, B9600, false,
                        "H101\r\nG300\r\nJ4000\r\nJ4501\r\nJ4700\r\nK00006095000020200\r\n", "H100\r\n"},
        SerialModelCase{"E1800", rmE1800, B19200, false, "\n00F06095K0,DA3E,B10K0\r", ""},
        // The speaker bar moved to 255 sends its level before the initialisation.
        SerialModelCase{"NRD545", rmNRD545, B4800, false, "JJ000\rH1\rD4\r", "H0\r"},
        SerialModelCase{"ICOM", rmICOM, B19200, false, "\xFE\xFE\x00\xE0\x05\x00\x50\x09\x06\x00\xFD"s, ""},
        SerialModelCase{"NRD535", rmNRD535, B4800, false, "H1\rD4\r", "H0\r"},
        SerialModelCase{"NRD525", rmNRD525, B1200, false, "H1\rD4\r", "H0\r"},
        SerialModelCase{"TS850", rmTS850, B4800, true, "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

using RigWindow = RigWindowFixture;

TEST_F(RigWindow, IcomSpeedSettingOneSelects1200Baud) {
    StartWith(rmICOM, "ICOM Baudrate=1\r\nICOM rig address=$5C\r\n");
    Click();
    EXPECT_EQ(rig.Received(11), "\xFE\xFE\x5C\xE0\x05\x00\x50\x09\x06\x00\xFD"s);
    termios line{};
    ASSERT_EQ(tcgetattr(pty.FarFd(), &line), 0);
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B1200));
}

TEST_F(RigWindow, Frg100DelaySettingIsTheFourthByte) {
    WriteFile("FRG100.cal", "5,7,");
    StartWith(rmFRG100, "FRG100 Delay=300\r\n");
    Click();
    EXPECT_EQ(rig.Received(10), "\x20\x01\xF7\x01\x20\x00\x00\x00\x2C\x0E"s);
    EXPECT_EQ(form->Readings.CalibrationTable[0][0], 5);
    EXPECT_EQ(form->Readings.CalibrationTable[255][58], 7);
}

TEST_F(RigWindow, MissingCalibrationIsReportedAndTheConnectionStays) {
    StartWith(rmFRG100);
    Click();
    EXPECT_EQ(errors, QStringList{"Datei nicht gefunden"});
    EXPECT_TRUE(form->checkaor->isChecked());
    EXPECT_TRUE(form->ComPort1->Connected());
    EXPECT_TRUE(form->cbrxl->isEnabled());
}

TEST_F(RigWindow, Frg100HandshakeModeCarriesOverToTheAor7030) {
    WriteFile("FRG100.cal", "5,7,");
    StartWith(rmFRG100);
    EXPECT_EQ(form->ComPort1->ControlDTR(), dtrDisable);
    Click();
    Click();
    form->cbrx->setCurrentIndex(rmAOR7030);
    Click();
    EXPECT_EQ(form->ComPort1->BaudRate(), br1200);
    EXPECT_EQ(form->ComPort1->StopBits(), sbOneStopBit);
    EXPECT_EQ(form->ComPort1->ControlDTR(), dtrHandshake);
    EXPECT_EQ(form->ComPort1->ControlRTS(), rtsHandshake);
}

TEST_F(RigWindow, PortListChoosesThePortAtEveryConnect) {
    WriteSettings("COM Port=0\r\n[Ports]\r\nCOM1=" + Folder() + "no-such-tty\r\nCOM5=" + pty.DevicePath() + "\r\n");
    form = &Start();
    errors.clear();
    form->cbcom->setCurrentIndex(4);
    Click();
    EXPECT_EQ(form->ComPort1->Port(), "COM5");
    EXPECT_EQ(rig.Received(1), "\x81");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigWindow, ReceiverOutsideTheListOnlyNamesThePort) {
    StartWith(30);
    ASSERT_EQ(form->cbrx->currentIndex(), -1);
    form->cbcom->setCurrentIndex(2);
    Click();
    EXPECT_EQ(form->ComPort1->Port(), "COM3");
    EXPECT_FALSE(form->ComPort1->Connected());
    EXPECT_TRUE(form->cbrx->isEnabled());
    EXPECT_FALSE(form->Edit1->isEnabled());
    Click();
    EXPECT_EQ(rig.Received(0), "");
    EXPECT_FALSE(form->PortUsed);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigWindow, Frg100TakesOnlyWholeFiveByteReplies) {
    WriteFile("FRG100.cal", "5,7,");
    StartWith(rmFRG100);
    Click();
    rig.Received(10);
    rig.SendFrg100Reading(0x9A);
    EXPECT_TRUE(ProcessEventsUntil([&] { return form->Readings.SMeterByte == 0x9A; }));
    // Split in two notifications: both parts are dropped.
    rig.Send("\x00\x00\x00"s);
    ProcessEventsFor(150);
    rig.Send("\x42\xF7"s);
    ProcessEventsFor(150);
    EXPECT_EQ(form->Readings.SMeterByte, 0x9A);
    // Two replies taken at once are dropped as well.
    rig.Send("\x00\x00\x00\x11\xF7\x00\x00\x00\x22\xF7"s);
    ProcessEventsFor(150);
    EXPECT_EQ(form->Readings.SMeterByte, 0x9A);
    // A reply that does not end in 0xF7 is dropped.
    rig.Send("\x00\x00\x00\x33\xF6"s);
    ProcessEventsFor(150);
    EXPECT_EQ(form->Readings.SMeterByte, 0x9A);
    rig.SendFrg100Reading(0x10);
    EXPECT_TRUE(ProcessEventsUntil([&] { return form->Readings.SMeterByte == 0x10; }));
}

TEST_F(RigWindow, OtherModelsLeaveRepliesWaiting) {
    StartWith(rmTS850);
    Click();
    rig.Send("FA00006095000;");
    ProcessEventsFor(200);
    EXPECT_EQ(form->ComPort1->WaitingCount(), 14);
    EXPECT_TRUE(form->Readings.ReplyBuffer.empty());
}

TEST_F(RigWindow, Pcr1000KeepAliveRunsWhileConnected) {
    StartWith(rmPCR1000, "QRG=15440\r\n");
    Click();
    rig.Received(53);
    EXPECT_EQ(form->Edit1->text(), "6095");
    EXPECT_TRUE(form->Timer2->isActive());
    EXPECT_EQ(form->Timer2->interval(), 5000);
    form->Timer2Timer();
    rig.SetFamily(TSimFamily::Text);
    EXPECT_EQ(rig.Commands(6), std::vector<std::string>{"H101\r\n"});
    Click();
    EXPECT_FALSE(form->Timer2->isActive());
    EXPECT_EQ(rig.Received(6), "H100\r\n");
    form->Timer2Timer();
    EXPECT_EQ(rig.Received(0), "");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigWindow, E1800ConnectShowsItsStartFrequency) {
    StartWith(rmE1800, "QRG=15440\r\n");
    Click();
    EXPECT_EQ(form->Edit1->text(), "6095");
}

TEST_F(RigWindow, ShutdownIdlesTheFt847WithItsOwnCatOff) {
    StartWith(rmFT847);
    Click();
    rig.Received(10);
    form->FormClose();
    EXPECT_EQ(rig.Received(5), "\x00\x00\x00\x00\x80"s);
    EXPECT_FALSE(form->ComPort1->Connected());
}

TEST_F(RigWindow, ShutdownAfterAor7030DisconnectSendsItsIdleByteAgain) {
    StartWith(rmAOR7030);
    Click();
    Click();
    rig.Received(2);
    form->FormClose();
    EXPECT_EQ(rig.Received(1), "\x80");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigWindow, ShutdownIdlesTheNrd545) {
    StartWith(rmNRD545);
    Click();
    rig.Received(12);
    form->FormClose();
    EXPECT_EQ(rig.Received(3), "H0\r");
}

TEST_F(RigWindow, ShutdownWithoutSerialUseSendsNothing) {
    StartWith(rmAOR7030);
    form->FormClose();
    EXPECT_EQ(rig.Received(0), "");
    EXPECT_FALSE(form->PortUsed);
}

} // namespace
} // namespace drmq::test
