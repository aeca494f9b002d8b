// SetFreq through the main window (range, field, digits, attention prompt),
// the synthesizer front ends on recorded control lines, and the receiver
// controls a connect switches.
#include "support/LinePortRecorder.h"
#include "support/RigWindowFixture.h"
#include "support/SimDdsChip.h"
#include "rig/ReceiverModel.h"

#include <gtest/gtest.h>

namespace drmq::test {
namespace {

using namespace std::string_literals;

using TuneWindow = RigWindowFixture;

TEST_F(TuneWindow, RangeEdgesAreSentAndBeyondThemNothingChanges) {
    StartWith(rmFRG100, "QRG=6095\r\n");
    WriteFile("FRG100.cal", "1,");
    Click();
    rig.Received(10);
    form->SetFreq("150");
    EXPECT_EQ(rig.Received(5), "\x00\x50\x01\x00\x0A"s);
    form->SetFreq("29999");
    EXPECT_EQ(rig.Received(5), "\x00\x99\x99\x02\x0A"s);
    form->SetFreq("149");
    form->SetFreq("30000");
    EXPECT_EQ(rig.Received(0), "");
    EXPECT_EQ(form->Edit1->text(), "29999");
}

TEST_F(TuneWindow, LongTextIsShownButDigitModelsSendNothing) {
    StartWith(rmTS850);
    Click();
    form->SetFreq("006095");
    EXPECT_EQ(form->Edit1->text(), "006095");
    EXPECT_EQ(rig.Received(0), "");
    form->SetFreq("0153");
    EXPECT_EQ(rig.Received(14), "FA00000153000;");
}

TEST_F(TuneWindow, TextThatIsNoNumberChangesNothing) {
    StartWith(rmTS850);
    Click();
    EXPECT_THROW(form->SetFreq("60x5"), std::exception);
    EXPECT_EQ(form->Edit1->text(), "6095");
    EXPECT_TRUE(form->PromptArmed);
    EXPECT_EQ(rig.Received(0), "");
}

TEST_F(TuneWindow, AttentionPromptWhileALogRuns) {
    StartWith(rmTS850);
    Click();
    form->LogRunning = true;
    int prompts = 0;
    int answer = 3;
    form->AttentionAnswer = [&] {
        ++prompts;
        EXPECT_FALSE(form->PromptArmed);
        return answer;
    };
    // The frequency already shown asks nothing.
    form->SetFreq("6095");
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(rig.Received(14), "FA00006095000;");
    // "Quit" keeps the receiver and the field.
    form->SetFreq("7000");
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(form->Edit1->text(), "6095");
    EXPECT_EQ(rig.Received(0), "");
    EXPECT_TRUE(form->PromptArmed);
    EXPECT_EQ(form->AttentionCode, 4);
    // "Change it" tunes.
    answer = 1;
    form->SetFreq("7000");
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(form->Edit1->text(), "7000");
    EXPECT_EQ(rig.Received(14), "FA00007000000;");
}

TEST_F(TuneWindow, ElektorConnectClearsTheLinesAndSendsTheSevenWords) {
    StartWith(rmElektor, "Elektor IF=454.3\r\nElektor XTAL=50000\r\n");
    auto *lines = new TLinePortRecorder;
    form->LinePort.reset(lines);
    Click();
    SettleLink(*form);
    ASSERT_GE(lines->Events.size(), 4u);
    EXPECT_EQ(lines->Events[0], "open COM1");
    EXPECT_EQ(lines->Events[1], "DTR 0");
    EXPECT_EQ(lines->Events[2], "RTS 0");
    EXPECT_EQ(lines->Events[3], "BRK 0");
    const auto frames = DecodeDdsFrames(lines->Events);
    std::vector<std::uint32_t> words;
    for (const auto &f : frames) {
        EXPECT_TRUE(f.PortWasOpen);
        EXPECT_EQ(f.Bits.size(), 16u);
        words.push_back(f.Word());
    }
    EXPECT_EQ(words, (std::vector<std::uint32_t>{0xF800, 0x306A, 0x214C, 0x3288, 0x2321, 0x8000, 0xC000}));
    EXPECT_TRUE(form->Edit3->isVisibleTo(form->GroupBox38));
    EXPECT_FALSE(form->VolBar->isVisibleTo(form->GroupBox38));
    EXPECT_FALSE(form->PortUsed);

    // A clock that is no whole number is refused and nothing is retuned.
    lines->Events.clear();
    form->Edit4->setText("5000x");
    SettleLink(*form);
    EXPECT_EQ(errors, QStringList{"\"5000x\" is not an integer value"});
    EXPECT_TRUE(lines->Events.empty());
    // A valid IF retunes at once.
    form->Edit4->setText("50000");
    SettleLink(*form);
    EXPECT_EQ(DecodeDdsFrames(lines->Events).size(), 7u);

    lines->Events.clear();
    Click();
    SettleLink(*form);
    EXPECT_EQ(lines->Events, std::vector<std::string>{"close"});
    EXPECT_FALSE(form->Edit3->isVisibleTo(form->GroupBox38));
}

TEST_F(TuneWindow, ElektorIfThatIsNoNumberIsRefused) {
    StartWith(rmElektor);
    form->LinePort = std::make_unique<TLinePortRecorder>();
    form->Edit3->setText("45x");
    EXPECT_EQ(errors, QStringList{"\"45x\" is not a floating point value"});
}

TEST_F(TuneWindow, Drt1TuningIsThreeCommandsEachInItsOwnOpening) {
    StartWith(rmDRT1, "DRT1 1st IF=45000\r\n");
    auto *lines = new TLinePortRecorder;
    form->LinePort.reset(lines);
    Click();
    SettleLink(*form);
    auto frames = DecodeDdsFrames(lines->Events);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].Bytes(), "\x00\x00\x00\x02\x02"s);
    EXPECT_EQ(frames[1].Bytes(), "\x01\x00\x00\x43"s);
    EXPECT_EQ(form->FirstIfOffset, 45000000);
    EXPECT_TRUE(form->OffsetCheck->isVisibleTo(form->GroupBox38));
    EXPECT_FALSE(form->OffsetCheck->isEnabled());
    EXPECT_TRUE(form->OffsetText->isEnabled());

    lines->Events.clear();
    form->SetFreq("6095");
    SettleLink(*form);
    frames = DecodeDdsFrames(lines->Events);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[2].Bytes(), "\x04\x24\x53\x14\xC5"s);
    int openings = 0;
    for (const auto &e : lines->Events) openings += e.rfind("open ", 0) == 0;
    EXPECT_EQ(openings, 3);
    EXPECT_EQ(lines->Events.back(), "close");
}

TEST_F(TuneWindow, Drt1WithoutMultiplierIsTooSlowForAnyFrequency) {
    StartWith(rmDRT1);
    auto *lines = new TLinePortRecorder;
    form->LinePort.reset(lines);
    form->Multiplikator->setCurrentIndex(0);
    Click();
    SettleLink(*form);
    lines->Events.clear();
    form->SetFreq("150");
    SettleLink(*form);
    EXPECT_EQ(messages, QStringList{"Systemfrequency is too low!"});
    const auto frames = DecodeDdsFrames(lines->Events);
    ASSERT_EQ(frames.size(), 2u) << "the registers went out, the tuning word did not";
    EXPECT_EQ(frames[1].Bytes(), "\x01\x00\x00\x1F"s);
}

TEST_F(TuneWindow, NegativeOffsetTextIsLimitedAtTheNextDrt1Connect) {
    StartWith(rmDRT1);
    form->LinePort = std::make_unique<TLinePortRecorder>();
    form->OffsetText->setText("-100");
    EXPECT_EQ(form->FirstIfOffset, -100000);
    Click();
    SettleLink(*form);
    EXPECT_EQ(form->FirstIfOffset, 0);
    Click();
    SettleLink(*form);
    EXPECT_FALSE(form->OffsetText->isVisibleTo(form->GroupBox38));
    EXPECT_TRUE(form->VolBar->isVisibleTo(form->GroupBox38));
}

TEST_F(TuneWindow, Aor7030FillsTheListsAndRemembersTheChoice) {
    StartWith(rmAOR7030, "Attenuation=5\r\nFilter=2\r\n");
    Click();
    EXPECT_EQ(form->cbatt->count(), 6);
    EXPECT_EQ(form->cbatt->currentText(), "-40dB");
    EXPECT_EQ(form->cbfilter->currentText(), "Filter3");
    EXPECT_TRUE(form->cbatt->isEnabled());
    EXPECT_TRUE(form->VolBar->isEnabled());
    EXPECT_TRUE(form->gbsm->isVisibleTo(form->GroupBox38));
    EXPECT_TRUE(form->AttListFilled);
    EXPECT_TRUE(form->FilterListFilled);
    EXPECT_EQ(rig.Received(1), "\x81") << "filling the lists sends nothing";
    form->cbfilter->setCurrentIndex(1);
    Click();
    EXPECT_EQ(form->Settings.FilterIndex, 1);
    EXPECT_EQ(form->Settings.AttenuationIndex, 5);
    EXPECT_FALSE(form->cbatt->isEnabled());
    EXPECT_FALSE(form->gbsm->isVisibleTo(form->GroupBox38));
    // The NRD545's two-item list has no item 5: nothing is selected.
    form->cbrx->setCurrentIndex(rmNRD545);
    Click();
    EXPECT_EQ(form->cbatt->count(), 2);
    EXPECT_EQ(form->cbatt->currentIndex(), -1);
    EXPECT_EQ(form->cbfilter->currentText(), "Inter");
    EXPECT_EQ(form->cbfilter->count(), 3);
}

TEST_F(TuneWindow, E1800LeavesTheControlsAsTheAor7030DisconnectLeftThem) {
    StartWith(rmAOR7030);
    Click();
    Click();
    form->cbrx->setCurrentIndex(rmE1800);
    Click();
    EXPECT_FALSE(form->cbatt->isEnabled());
    EXPECT_FALSE(form->VolBar->isEnabled());
    EXPECT_EQ(form->cbatt->count(), 6);
}

TEST_F(TuneWindow, Nrd525ListHasAuxAndItsSpeakerStaysInRange) {
    StartWith(rmNRD525);
    Click();
    EXPECT_EQ(form->cbfilter->count(), 4);
    EXPECT_EQ(form->cbfilter->itemText(3), "AUX");
    EXPECT_EQ(form->SpeakBar->value(), 100);
}

TEST_F(TuneWindow, IcomIsTunedBeforeItsAttenuatorListIsFilled) {
    StartWith(rmICOM, "QRG=531\r\n");
    Click();
    rig.SetFamily(TSimFamily::CiV);
    EXPECT_EQ(rig.Commands(11), std::vector<std::string>{"\xFE\xFE\x00\xE0\x05\x00\x10\x53\x00\x00\xFD"s});
    EXPECT_EQ(form->cbatt->count(), 2);
    EXPECT_FALSE(form->cbfilter->isVisibleTo(form->GroupBox38));
}

} // namespace
} // namespace drmq::test
