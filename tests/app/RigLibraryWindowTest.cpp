// The library models through the main window, against the recording
// stand-ins of the makers' libraries in the program folder.
#include "support/RigWindowFixture.h"
#include "support/SimVendorLibrary.h"
#include "app/RadioGroup.h"
#include "rig/ReceiverModel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace drmq::test {
namespace {

using Calls = std::vector<std::string>;

class RigLibraryWindow : public RigWindowFixture {
protected:
    void SetUp() override {
        RigWindowFixture::SetUp();
        sim = std::make_unique<TSimVendorLibrary>(Folder());
    }
    // The library is called on the link's thread: a click counts once its calls are made.
    void Click() {
        RigWindowFixture::Click();
        SettleLink(*form);
    }
    void SetFreq(const QString &khz) {
        form->SetFreq(khz);
        SettleLink(*form);
    }
    std::unique_ptr<TSimVendorLibrary> sim;
    TSimVendorLibrary &vendor() { return *sim; }
};

const char *const kWinRadioWarning = "Be sure that the WiNRADiO application is not running anymore!";

TEST_F(RigLibraryWindow, Wrg303ConnectSetsUpTheRadioAndReadsTheFrequencyBack) {
    vendor().Install("libwrg3api.so");
    StartWith(rmWRG303, "QRG=15440\r\n");
    Click();
    EXPECT_EQ(messages, QStringList{kWinRadioWarning});
    EXPECT_EQ(vendor().Calls(), (Calls{"wrg3api OpenRadioDevice 0", "wrg3api SetPower 7 -1", "wrg3api SetAtten 7 0",
                                     "wrg3api SetAGC 7 1", "wrg3api SetFrequency 7 15440000",
                                     "wrg3api GetFrequency 7"}));
    // The stand-in reads back 999 Hz more: the field shows whole kHz, truncated.
    EXPECT_EQ(form->Edit1->text(), "15440");
    EXPECT_TRUE(form->Edit1->isEnabled());
    EXPECT_FALSE(form->PortUsed);

    SetFreq("7000");
    EXPECT_EQ(vendor().Calls().back(), "wrg3api SetFrequency 7 7000000");
    Click();
    EXPECT_EQ(vendor().Calls().back(), "wrg3api CloseRadioDevice 7");
    // Unconnected lists stay usable after a WRG303 disconnect.
    EXPECT_TRUE(form->cbatt->isEnabled());
    EXPECT_TRUE(form->cbfilter->isEnabled());
    EXPECT_FALSE(form->VolBar->isEnabled());
    const size_t callsBefore = vendor().Calls().size();
    form->FormClose();
    EXPECT_EQ(vendor().Calls().size(), callsBefore) << "a released library is not called again";
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigLibraryWindow, MissingLibraryIsReportedAndTheControlsStillSwitch) {
    StartWith(rmWRG313);
    Click();
    EXPECT_EQ(messages, (QStringList{kWinRadioWarning, "WRG3130API.DLL not found !"}));
    EXPECT_TRUE(form->Edit1->isEnabled());
    EXPECT_FALSE(form->cbrx->isEnabled());
    SetFreq("7000");
    EXPECT_EQ(form->Edit1->text(), "7000");
    EXPECT_TRUE(vendor().Calls().empty());
    Click();
    EXPECT_TRUE(vendor().Calls().empty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigLibraryWindow, RadioHandleZeroSkipsTheSetUpAndTheTuning) {
    vendor().Install("libwrg3130api.so");
    TSimVendorLibrary::SetRadioHandle(0);
    StartWith(rmWRG313);
    Click();
    EXPECT_EQ(vendor().Calls(), Calls{"wrg3130api OpenRadioDevice 0"});
    SetFreq("7000");
    EXPECT_EQ(form->Edit1->text(), "7000");
    Click();
    EXPECT_EQ(vendor().Calls(), Calls{"wrg3130api OpenRadioDevice 0"});
}

TEST_F(RigLibraryWindow, DwtConnectOpensSetsAntennaAndAttenuatorThenTunes) {
    vendor().Install("libafgusbfe.so");
    StartWith(rmDWT, "DWT Antenna=0\r\nDWT Attenuation=1\r\nQRG=1485\r\n");
    Click();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(vendor().Calls(),
              (Calls{"afgusbfe FrontendOpen", "afgusbfe FrontendSetAntennaMode 0", "afgusbfe FrontendSetRfAttenuator 1",
                     "afgusbfe FrontendSetFrequency 1485000"}));
    EXPECT_TRUE(form->dwtmod->isVisibleTo(form->GroupBox38));
    EXPECT_TRUE(form->cmbant->isEnabled());
    EXPECT_TRUE(form->cbrxl->isEnabled());
    EXPECT_FALSE(form->VolBar->isVisibleTo(form->GroupBox38));
    // Closing the window with the DWT connected closes and releases it.
    form->FormClose();
    EXPECT_EQ(vendor().Calls().back(), "afgusbfe FrontendClose");
    EXPECT_FALSE(form->LibraryHandle.Loaded());
}

// A library that hangs holds up its link's thread, never the window: the
// clock ticks on, and the calls follow in order once the library answers.
TEST_F(RigLibraryWindow, AHangingLibraryLeavesTheWindowRunning) {
    vendor().Install("libafgusbfe.so");
    const std::string hold = Folder() + "hold";
    WriteFile("hold", "");
    setenv("DRMQ_FAKE_HOLD", hold.c_str(), 1);
    setenv("DRMQ_FAKE_RF_LEVEL", "40", 1);
    StartWith(rmDWT, "DWT Antenna=0\r\nDWT Attenuation=1\r\nQRG=1485\r\n");
    // Neither the click nor the clock's level request waits for the library.
    RigWindowFixture::Click();
    form->Timer1Timer();
    EXPECT_TRUE(vendor().Calls().empty());
    EXPECT_TRUE(form->checkaor->isChecked());

    std::remove(hold.c_str());
    EXPECT_TRUE(WaitUntil([&] { return form->lblsm->text() == "40"; }));
    unsetenv("DRMQ_FAKE_HOLD");
    unsetenv("DRMQ_FAKE_RF_LEVEL");
    EXPECT_EQ(vendor().Calls(),
              (Calls{"afgusbfe FrontendOpen", "afgusbfe FrontendSetAntennaMode 0", "afgusbfe FrontendSetRfAttenuator 1",
                     "afgusbfe FrontendGetLIF", "afgusbfe FrontendGetRfLevel", "afgusbfe FrontendSetFrequency 1485000"}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(RigLibraryWindow, DwtDisconnectLeavesTheBarsHiddenUntilAModelShowsThem) {
    vendor().Install("libafgusbfe.so");
    StartWith(rmDWTCT);
    Click();
    Click();
    EXPECT_EQ(vendor().Calls().back(), "afgusbfe FrontendClose");
    EXPECT_FALSE(form->cbrxl->isEnabled());
    EXPECT_FALSE(form->VolBar->isVisibleTo(form->GroupBox38));
    EXPECT_FALSE(form->SpeakBar->isVisibleTo(form->GroupBox38));
    EXPECT_TRUE(form->cbatt->isVisibleTo(form->GroupBox38));
    EXPECT_FALSE(form->dwtmod->isVisibleTo(form->GroupBox38));
    form->cbrx->setCurrentIndex(rmAOR7030);
    Click();
    EXPECT_TRUE(form->VolBar->isVisibleTo(form->GroupBox38));
    EXPECT_TRUE(form->SpeakBar->isVisibleTo(form->GroupBox38));
}

// Connecting is no business of Dream's: with Dream chosen, Connect types
// nothing and activates no window, on connect and on disconnect.
TEST_F(RigLibraryWindow, ConnectWithDreamChosenSendsDreamNothing) {
    StartWith(rmWRG303, "Software RX=1\r\n");
    QStringList steps;
    form->DecoderControl.activate = [&](const QString &title) {
        steps << "activate " + title;
        return true;
    };
    form->DecoderControl.keys = [&](const QString &keys, bool) {
        steps << "keys " + keys;
        return true;
    };
    form->DecoderControl.find = [](const QString &title) { return TFoundWindow{true, {}, title}; };
    Click();
    EXPECT_EQ(messages.first(), kWinRadioWarning);
    Click();
    EXPECT_TRUE(steps.isEmpty()) << steps.join(", ").toStdString();
}

TEST_F(RigLibraryWindow, DwtWithoutItsLibrarySaysSoAndTunesNothing) {
    StartWith(rmDWT);
    Click();
    EXPECT_EQ(messages, QStringList{"afgusbfe.dll not found !"});
    SetFreq("7000");
    EXPECT_EQ(form->Edit1->text(), "7000");
    EXPECT_TRUE(vendor().Calls().empty());
}

} // namespace
} // namespace drmq::test
