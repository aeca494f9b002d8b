// The receiver and tuning controls of the main window: what reaches the far
// end of a pseudo-terminal standing in for COM1, the presets dialog, and what
// happens while no receiver is connected.
#include "app/RadioGroup.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/PtyPair.h"
#include "support/SimReceiver.h"
#include "support/ScheduleFileBuilder.h"
#include "support/SimVendorLibrary.h"
#include "support/WindowFixture.h"
#include "tuning/PresetsDialog.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <memory>

namespace drmq::test {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

// A user's choice in a list: the item becomes current, then the list reports it.
void Choose(QComboBox *list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// What the NRD535 receives for a frequency text of 3 to 5 digits.
std::string Nrd535(const std::string &khz) {
    return "F" + std::string(5 - khz.size(), '0') + khz + "000\r";
}

class TuningWindow : public WindowFixture {
protected:
    // Starts the window with COM1 on the pty, the given model and frequency,
    // and a schedule of all-day transmissions on the given frequencies.
    TForm1 &StartOn(int model, const std::string &qrg, const std::vector<std::string> &scheduleKhz = {},
                    const std::string &extraSettings = "") {
        std::vector<TScheduleBlock> blocks;
        for (size_t i = 0; i < scheduleKhz.size(); ++i) {
            TScheduleBlock block;
            block.Start = "0000";
            block.Stop = "2400";
            block.Frequency = scheduleKhz[i];
            block.Programme = "Station " + std::to_string(i);
            blocks.push_back(block);
        }
        WriteFile("DRMSchedule.ini", ScheduleFileText(blocks));
        WriteFile("wwv.txt", "");
        WriteSettings("Receiver=" + std::to_string(model) + "\r\nQRG=" + qrg + "\r\n" + extraSettings +
                      "[Ports]\r\nCOM1=" + pty.DevicePath() + "\r\n");
        TForm1 &form = Start();
        EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
        return form;
    }

    void Connect(TForm1 &form) {
        form.checkaor->setChecked(true); // runs checkaorClick
        ASSERT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    }

    void Disconnect(TForm1 &form) {
        form.checkaor->setChecked(false);
    }

    // Waits for count bytes at the far end, then takes all that has arrived.
    std::string Received(size_t count) { return rig.Received(count); }

    // The grid row whose frequency column shows khz; 0 when none does.
    static int GridRowOf(TForm1 &form, const QString &khz) {
        for (int row = 1; !form.GridCell(2, row).isEmpty(); ++row)
            if (form.GridCell(2, row) == khz) return row;
        return 0;
    }

    TPtyPair pty;
    TSimReceiver rig{pty};
};

// ---- Nothing is sent while not connected --------------------------------------

TEST_F(TuningWindow, NothingIsSentWhileNotConnected) {
    TForm1 &form = StartOn(rmAOR7030, "6095");
    form.cbatt->addItems({"+10dB", "0dB"});
    form.cbfilter->addItems({"Filter1", "Filter2"});
    Choose(form.cbatt, 1);
    Choose(form.cbfilter, 1);
    form.VolBar->setValue(50);
    form.SpeakBar->setValue(40);
    form.Button2Click();
    form.Button1Click();
    form.WheelScrollLines = 1;
    form.FormMouseWheel(120);
    form.Edit1KeyPress(Qt::Key_Return);
    form.cbband->setCurrentIndex(1);
    form.cbbandSelect();
    EXPECT_EQ(Received(0), "");
    // The port was never opened, so any attempt to send would have failed loudly.
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(form.Edit1->text(), "6095");
}

TEST_F(TuningWindow, ABandWhileNotConnectedChangesNothing) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    form.cbstep->setCurrentIndex(3);
    form.cbband->setCurrentIndex(1); // "MW"
    form.cbbandSelect();
    EXPECT_EQ(form.Edit1->text(), "6095");
    EXPECT_EQ(form.cbstep->currentText(), "1 kHz");
    EXPECT_EQ(Received(0), "");
}

TEST_F(TuningWindow, ControlsSendNothingAfterDisconnect) {
    TForm1 &form = StartOn(rmAOR7030, "6095");
    Connect(form);
    Disconnect(form);
    Received(2);
    Choose(form.cbatt, 2);
    Choose(form.cbfilter, 2);
    form.VolBar->setValue(30);
    form.SpeakBar->setValue(30);
    EXPECT_EQ(Received(0), "");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

// ---- Attenuator, filter and levels at the far end ----------------------------------

TEST_F(TuningWindow, Aor7030ControlsReachTheReceiver) {
    TForm1 &form = StartOn(rmAOR7030, "6095");
    Connect(form);
    Received(1);
    Choose(form.cbatt, 3); // "-20dB"
    EXPECT_EQ(Received(5), "P3@c$");
    Choose(form.cbfilter, 2);
    EXPECT_EQ(Received(8), "1JP3Dc#+");
    form.VolBar->setValue(50);
    EXPECT_EQ(Received(6), "P2D2m$");
    form.SpeakBar->setValue(50);
    EXPECT_EQ(Received(6), "P1N2g$");
    // A selection made by the program sends nothing.
    form.cbatt->setCurrentIndex(0);
    form.cbfilter->setCurrentIndex(0);
    EXPECT_EQ(Received(0), "");
}

TEST_F(TuningWindow, IcomAttenuatorOnSendsTwoFramesToTheConfiguredAddress) {
    TForm1 &form = StartOn(rmICOM, "6095", {}, "ICOM rig address=$5C\r\n");
    Connect(form);
    Received(11);
    Choose(form.cbatt, 1); // "A ON"
    EXPECT_EQ(Received(14), Bytes({0xFE, 0xFE, 0x5C, 0xE0, 0x11, 0x18, 0xFD, 0xFE, 0xFE, 0x5C, 0xE0, 0x11, 0x20, 0xFD}));
    Choose(form.cbatt, 0); // "A OFF"
    EXPECT_EQ(Received(7), Bytes({0xFE, 0xFE, 0x5C, 0xE0, 0x11, 0x00, 0xFD}));
}

TEST_F(TuningWindow, BarsLimitedByAConnectSendTheirLevels) {
    // The bars stand at 100; the RX320D's range ends at 63.
    TForm1 &form = StartOn(rmRX320D, "6095");
    Connect(form);
    const std::string received = Received(17);
    EXPECT_NE(received.find(Bytes({'A', 0x00, 63, 0x0D})), std::string::npos);
    EXPECT_NE(received.find(Bytes({'V', 0x00, 63, 0x0D})), std::string::npos);
    form.SpeakBar->setValue(13);
    EXPECT_EQ(Received(4), Bytes({'V', 0x00, 13, 0x0D}));
}

// ---- Step buttons, wheel, direct entry, bands ---------------------------------------

TEST_F(TuningWindow, StepButtonsTuneByTheSelectedStep) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.cbstep->setCurrentIndex(2); // 5 kHz
    form.Button2->click();
    EXPECT_EQ(Received(10), Nrd535("6100"));
    EXPECT_EQ(form.Edit1->text(), "6100");
    form.Button1->click();
    form.Button1->click();
    EXPECT_EQ(Received(20), Nrd535("6095") + Nrd535("6090"));
    EXPECT_EQ(form.Edit1->text(), "6090");
}

TEST_F(TuningWindow, StepButtonsStopAtTheRangeEdges) {
    TForm1 &form = StartOn(rmNRD535, "29995");
    Connect(form);
    Received(6);
    form.cbstep->setCurrentIndex(0); // 10 kHz
    form.Button2Click();
    EXPECT_EQ(Received(10), Nrd535("29999"));
    EXPECT_EQ(form.Edit1->text(), "29999");
    form.Edit1->setText("155");
    form.Button1Click();
    EXPECT_EQ(Received(10), Nrd535("150"));
    EXPECT_EQ(form.Edit1->text(), "150");
}

TEST_F(TuningWindow, StepFromAFieldThatIsNoNumberReportsTheConversion) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.Edit1->setText("61o0");
    form.Button2->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("61o0")) << errors[0].toStdString();
    EXPECT_EQ(Received(0), "");
}

TEST_F(TuningWindow, WheelEventsInTheWindowReachTheTuning) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.WheelScrollLines = 3;
    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 360), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    // Only while the main window is the active window.
    QApplication::sendEvent(form.Edit1, &wheel);
    EXPECT_EQ(Received(0), "");
    form.show();
    form.activateWindow();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return form.isActiveWindow(); }));
    QApplication::sendEvent(form.Edit1, &wheel);
    EXPECT_EQ(Received(10), Nrd535("6100"));
}

TEST_F(TuningWindow, WheelStepBeyondTheRangeIsIgnored) {
    TForm1 &form = StartOn(rmNRD535, "29995");
    Connect(form);
    Received(6);
    form.cbstep->setCurrentIndex(0);
    form.WheelScrollLines = 1;
    form.FormMouseWheel(120);
    EXPECT_EQ(form.TuneTarget, 30005);
    EXPECT_EQ(form.Edit1->text(), "29995");
    EXPECT_EQ(Received(0), "");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TuningWindow, WheelKeepsCountingAfterAFailedStep) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.WheelScrollLines = 3;
    form.Edit1->setText("x");
    for (int i = 0; i < 3; ++i) form.Guard(TErrorSource::Action, [&] { form.FormMouseWheel(120); });
    EXPECT_EQ(errors.size(), 1);
    form.Edit1->setText("6095");
    for (int i = 0; i < 3; ++i) form.FormMouseWheel(120);
    EXPECT_EQ(Received(10), Nrd535("6100"));
}

TEST_F(TuningWindow, EnterOnAnEmptyOrWrongFieldSaysNoValidFrequency) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    for (const char *text : {"", "abc", "12 5"}) {
        messages.clear();
        form.Edit1->setText(text);
        form.Edit1KeyPress(Qt::Key_Return);
        EXPECT_EQ(messages, QStringList{"No valid frequency"}) << text;
        EXPECT_EQ(form.Edit1->text(), text);
    }
    EXPECT_EQ(Received(0), "");
}

TEST_F(TuningWindow, EnterTunesTheTypedFrequencyAndOtherKeysDoNothing) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.Edit1->setText("7325");
    form.Edit1KeyPress(Qt::Key_5);
    EXPECT_EQ(Received(0), "");
    form.Edit1KeyPress(Qt::Key_Return);
    EXPECT_EQ(Received(10), Nrd535("7325"));
    form.Edit1->setText("9420");
    form.Edit1KeyPress(Qt::Key_Enter);
    EXPECT_EQ(Received(10), Nrd535("9420"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TuningWindow, EnterWithAClosedPortReportsThePortNotTheFrequency) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.ComPort1->ClosePort();
    form.Edit1->setText("7325");
    form.Guard(TErrorSource::Action, [&] { form.Edit1KeyPress(Qt::Key_Return); });
    EXPECT_TRUE(messages.isEmpty());
    ASSERT_TRUE(ProcessEventsUntil([&] { return errors.size() == 1; }));
    EXPECT_TRUE(errors[0].startsWith("WriteFile function failed")) << errors[0].toStdString();
}

TEST_F(TuningWindow, BandsTuneAndChooseTheirStep) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.cbstep->setCurrentIndex(3);
    Choose(form.cbband, 1); // "MW"
    EXPECT_EQ(Received(10), Nrd535("531"));
    EXPECT_EQ(form.Edit1->text(), "531");
    EXPECT_EQ(form.cbstep->currentText(), "9 kHz");
    form.cbband->setCurrentIndex(11);
    form.cbbandSelect(); // "19m"
    EXPECT_EQ(Received(10), Nrd535("15100"));
    EXPECT_EQ(form.Edit1->text(), "15100");
    EXPECT_EQ(form.cbstep->currentText(), "5 kHz");
}

TEST_F(TuningWindow, BandKeepsTheFieldWhenTheLogPromptIsQuit) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.LogRunning = true;
    form.AttentionAnswer = [] { return 3; }; // "Quit"
    form.cbband->setCurrentIndex(1);
    form.cbbandSelect();
    form.LogRunning = false;
    EXPECT_EQ(Received(0), "");
    EXPECT_EQ(form.Edit1->text(), "6095");
}

// ---- Presets ----------------------------------------------------------------------

TEST_F(TuningWindow, PresetTunesItsCaption) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.Mem[2]->click(); // "15440"
    EXPECT_EQ(Received(10), Nrd535("15440"));
    EXPECT_EQ(form.Edit1->text(), "15440");
}

TEST_F(TuningWindow, PresetOutOfRangeOrTextTunesNothing) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    Received(6);
    form.Mem[0]->setText("99999");
    form.Mem[0]->click();
    EXPECT_TRUE(errors.isEmpty());
    form.Mem[1]->setText("abc");
    form.Mem[1]->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "'abc' ist kein gültiger Integerwert");
    EXPECT_EQ(Received(0), "");
    EXPECT_EQ(form.Edit1->text(), "6095");
}

// A preset on the frequency of another grid row makes that row current, and
// the grid's click tunes as well: the command goes out twice, no more.
TEST_F(TuningWindow, PresetOnAnotherGridRowSendsTwiceAndNoMore) {
    TForm1 &form = StartOn(rmNRD535, "6095", {"6095", "9420"});
    ASSERT_NE(GridRowOf(form, "9420"), 0);
    ASSERT_EQ(form.GridCell(2, form.CurrentGridRow()), "6095");
    Connect(form);
    Received(6);
    form.Mem[1]->setText("9420");
    form.Mem[1]->click();
    EXPECT_EQ(Received(20), Nrd535("9420") + Nrd535("9420"));
    EXPECT_EQ(form.GridCell(2, form.CurrentGridRow()), "9420");
    // Now that row is current: once.
    form.Mem[1]->click();
    EXPECT_EQ(Received(10), Nrd535("9420"));
    // A frequency without a row: once.
    form.Mem[2]->click();
    EXPECT_EQ(Received(10), Nrd535("15440"));
}

TEST_F(TuningWindow, GridClickSendsOnce) {
    TForm1 &form = StartOn(rmNRD535, "6095", {"6095", "9420"});
    Connect(form);
    Received(6);
    form.SetCurrentGridRow(GridRowOf(form, "9420"));
    form.StringGrid1Click();
    EXPECT_EQ(Received(10), Nrd535("9420"));
    EXPECT_EQ(form.Edit1->text(), "9420");
}

TEST_F(TuningWindow, StepOntoAnotherGridRowSendsTwice) {
    TForm1 &form = StartOn(rmNRD535, "6095", {"6095", "6100"});
    Connect(form);
    Received(6);
    form.cbstep->setCurrentIndex(2);
    form.Button2Click();
    EXPECT_EQ(Received(20), Nrd535("6100") + Nrd535("6100"));
}

// ---- The presets dialog -------------------------------------------------------------

TEST_F(TuningWindow, RightClickOnPresetsOpensTheDialogAndClosingApplies) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    Connect(form);
    form.Edit1->setText("9420");
    // Plays the user at every modal showing: "Get Frequency" in row 3, then close.
    QList<QWidget *> shown;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) return;
        shown << modal;
        program->Form2->GetFrequencyButton(2)->click();
        modal->close();
    });
    user.start(5);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), QPointF(3, 3), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(form.GroupBox1, &press);
    user.stop();
    EXPECT_EQ(shown, QList<QWidget *>{program->Form2});
    EXPECT_EQ(form.Mem[2]->text(), "9420");
    EXPECT_EQ(form.Mem[1]->text(), "1485");
    form.FormClose();
    EXPECT_NE(ReadFile("DRMQuodra.ini").find("Mem3=9420\r\n"), std::string::npos);
}

TEST_F(TuningWindow, OtherButtonsOnPresetsOpenNothing) {
    TForm1 &form = StartOn(rmNRD535, "6095");
    QWidget *shown = nullptr;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        if (shown) shown->close();
    });
    form.GroupBox1MouseDown(Qt::LeftButton);
    form.GroupBox1MouseDown(Qt::MiddleButton);
    ProcessEventsFor(20);
    EXPECT_EQ(shown, nullptr);
}

TEST_F(TuningWindow, DialogShowsThePresetsLoadedAtStart) {
    WriteSettings("[Presets]\r\nMem1=7325\r\nMem10=21500\r\n");
    TForm1 &form = Start();
    EXPECT_EQ(form.Mem[0]->text(), "7325");
    EXPECT_EQ(program->Form2->memtext[0]->text(), "7325");
    EXPECT_EQ(program->Form2->memtext[9]->text(), "21500");
    EXPECT_EQ(program->Form2->memtext[1]->text(), "1485");
}

// ---- DWT front end --------------------------------------------------------------------

class DwtWindow : public TuningWindow {
protected:
    void SetUp() override {
        TuningWindow::SetUp();
        vendor_ = std::make_unique<TSimVendorLibrary>(Folder());
        vendor_->Install("libafgusbfe.so");
    }
    void TearDown() override {
        TuningWindow::TearDown();
        vendor_.reset();
    }
    // The library calls recorded since the last call.
    std::vector<std::string> Calls() {
        SettleLink(*program->Form1);
        const std::vector<std::string> all = vendor_->Calls();
        std::vector<std::string> fresh(all.begin() + static_cast<long>(std::min(seen_, all.size())), all.end());
        seen_ = all.size();
        return fresh;
    }

private:
    std::unique_ptr<TSimVendorLibrary> vendor_;
    size_t seen_ = 0;
};

TEST_F(DwtWindow, ModeAntennaAndAttenuatorCallTheLibrary) {
    TForm1 &form = StartOn(rmDWT, "6095");
    Connect(form);
    Calls();
    form.dwtmod->Item(2)->click(); // "FM"
    EXPECT_EQ(Calls(), std::vector<std::string>{"afgusbfe FrontendSetMode 6"});
    form.dwtmod->Item(1)->click(); // "AM"
    EXPECT_EQ(Calls(), std::vector<std::string>{"afgusbfe FrontendSetMode 2"});
    Choose(form.cmbant, 0);
    EXPECT_EQ(Calls(), std::vector<std::string>{"afgusbfe FrontendSetAntennaMode 0"});
    Choose(form.cmbdwtatt, 1);
    EXPECT_EQ(Calls(), std::vector<std::string>{"afgusbfe FrontendSetRfAttenuator 1"});
    Disconnect(form);
    Calls();
    form.dwtmodClick();
    form.cmbantChange();
    form.cmbdwtattChange();
    EXPECT_TRUE(Calls().empty());
}

} // namespace
} // namespace drmq::test
