// The per-second level reading of the main window against real far ends:
// a pseudo-terminal playing the AOR7030 and the TS-850, and the stand-in
// DWT front-end library.
#include "app/RadioGroup.h"
#include "rig/ComPort.h"
#include "rig/ConnectCommands.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/PtyPair.h"
#include "support/SimReceiver.h"
#include "support/SimVendorLibrary.h"
#include "support/WindowFixture.h"

#include <QCoreApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include <cstdlib>

namespace drmq {
namespace {

class SignalLevelWindowTest : public test::WindowFixture {
protected:
    TForm1 &ConnectSerial(int model, const std::string &correction = "0.0") {
        WriteSettings("Receiver=" + std::to_string(model) + "\r\nCOM Port=0\r\nRXL antenna correction=" + correction +
                      "\r\n[Ports]\r\nCOM1=" + pty.DevicePath() + "\r\n");
        TForm1 &form = Start();
        errors.clear(); // no schedule in the program folder
        form.checkaor->click();
        EXPECT_TRUE(form.checkaor->isChecked());
        size_t connectBytes = 0;
        for (const std::string &write : SerialProcedure(model, 0).Init) connectBytes += write.size();
        rig.Received(connectBytes);
        return form;
    }
    // The far end answers before the tick, as a reply to an earlier request would.
    void Arrive(TForm1 &form, const std::string &bytes) {
        pty.Write(bytes);
        ASSERT_TRUE(test::ProcessEventsUntil(
            [&] { return form.ComPort1->WaitingCount() == static_cast<int>(bytes.size()); }));
    }
    // One clock tick; its requests reach the far end and their readings come back.
    void Tick(TForm1 &form) {
        clock->AdvanceSeconds(1);
        form.Timer1Timer();
        if (form.Link) form.Link->Finish();
        QCoreApplication::processEvents();
    }

    test::TPtyPair pty;
    test::TSimReceiver rig{pty};
};

TEST_F(SignalLevelWindowTest, Aor7030ReadsTwoBytesAfterItsTwoRequests) {
    TForm1 &form = ConnectSerial(rmAOR7030);
    ASSERT_EQ(form.cbatt->currentIndex(), 1);
    Arrive(form, "\x0C\x03");
    Tick(form);
    EXPECT_EQ(rig.Received(8), "P3OqP4@q");
    EXPECT_NEAR(form.Rxl, 59.956, 1e-9);
    EXPECT_EQ(form.lblsm->text(), "60");

    // No reply: both bytes keep their values.
    Tick(form);
    EXPECT_NEAR(form.Rxl, 59.956, 1e-9);

    // a = 25 is limited to 18 before the attenuator step; index 4 gives 23, limited to 21.
    form.cbatt->setCurrentIndex(4);
    Arrive(form, "\x19\x00");
    Tick(form);
    EXPECT_DOUBLE_EQ(form.Rxl, 106.0);
    EXPECT_EQ(form.lblsm->text(), "106");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(SignalLevelWindowTest, Ts850ReadsItsReplyAndCountsNoReplyAsZero) {
    TForm1 &form = ConnectSerial(rmTS850);
    Arrive(form, "SM0015;");
    Tick(form);
    EXPECT_EQ(rig.Received(3), "SM;");
    EXPECT_DOUBLE_EQ(form.Rxl, 34.0);
    EXPECT_EQ(form.lblsm->text(), "34");
    Tick(form);
    EXPECT_DOUBLE_EQ(form.Rxl, -26.0);
    EXPECT_EQ(form.lblsm->text(), "-26");
}

TEST_F(SignalLevelWindowTest, Frg100LooksUpTheLastReadingAndSkipsAFieldWithoutANumber) {
    // Reading 200 at 6095 kHz (column 11) is calibrated as 42 dBuV.
    std::string calibration;
    for (int cell = 0; cell < 256 * 59; ++cell) calibration += (cell == 200 * 59 + 11 ? "42," : "0,");
    WriteFile("FRG100.cal", calibration + "\r\n");
    TForm1 &form = ConnectSerial(rmFRG100, "0.5");
    ASSERT_EQ(form.Edit1->text(), "6095");
    form.Readings.SMeterByte = 200;
    Tick(form);
    EXPECT_EQ(rig.Received(5), std::string("\x00\x00\x00\x00\xF7", 5));
    EXPECT_DOUBLE_EQ(form.Rxl, 41.5);
    EXPECT_EQ(form.lblsm->text(), QLocale().toString(41.5));

    // The user clears the field to type another frequency.
    form.Edit1->setText("");
    form.Readings.SMeterByte = 0;
    Tick(form);
    EXPECT_EQ(rig.Received(5), std::string("\x00\x00\x00\x00\xF7", 5));
    EXPECT_DOUBLE_EQ(form.Rxl, 41.5);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(SignalLevelWindowTest, NoReadingWhileNotConnected) {
    TForm1 &form = ConnectSerial(rmTS850);
    form.checkaor->click();
    ASSERT_FALSE(form.checkaor->isChecked());
    rig.Received(0);
    form.Rxl = 12.5;
    Tick(form);
    EXPECT_EQ(rig.Received(0), "");
    EXPECT_DOUBLE_EQ(form.Rxl, 12.5);
}

class DwtLevelWindowTest : public test::WindowFixture {
protected:
    void TearDown() override {
        unsetenv("DRMQ_FAKE_RF_LEVEL");
        unsetenv("DRMQ_FAKE_LIF");
        WindowFixture::TearDown();
    }
};

TEST_F(DwtLevelWindowTest, DrmModeReadsLevelAndLifOtherModesKeepTheTexts) {
    test::TSimVendorLibrary vendor(Folder());
    vendor.Install("libafgusbfe.so");
    setenv("DRMQ_FAKE_RF_LEVEL", "40", 1);
    setenv("DRMQ_FAKE_LIF", "12500", 1);
    WriteSettings("Receiver=" + std::to_string(rmDWT) + "\r\nRXL antenna correction=2.5\r\n");
    TForm1 &form = Start();
    errors.clear();
    form.checkaor->click();
    SettleLink(form);
    ASSERT_TRUE(form.checkaor->isChecked());
    form.Timer1Timer();
    SettleLink(form);
    EXPECT_EQ(form.lblsm->text(), "38"); // 2.5 rounds to 2
    EXPECT_EQ(form.lbldwtlif->text(), "LIF:12500");
    EXPECT_DOUBLE_EQ(form.Rxl, 38.0);

    form.dwtmod->SetItemIndex(1); // "AM"
    setenv("DRMQ_FAKE_RF_LEVEL", "55", 1);
    form.Timer1Timer();
    SettleLink(form);
    EXPECT_EQ(form.lblsm->text(), "38");
    EXPECT_DOUBLE_EQ(form.Rxl, 38.0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

} // namespace
} // namespace drmq
