// The "Hamlib" receiver against Hamlib's own rigctld with the dummy rig, and a
// Kenwood-style receiver on a pseudo-terminal: connect, tuning from every
// control, attenuator, filter and volume, the level log, a server that goes
// away or stops answering, and the settings dialog.
#include "rig/HamlibDialog.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/LogWorkingDir.h"
#include "support/PtyPair.h"
#include "support/Rigctld.h"
#include "support/ScheduleFileBuilder.h"
#include "support/SimKenwood.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

namespace drmq::test {
namespace {

// Generous: rigctld and Hamlib share two loaded cores with other tests.
constexpr int kBoundMs = 20000;

// Processes events, checking the condition every few milliseconds.
bool Eventually(const std::function<bool()> &done, int timeoutMs = kBoundMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return done();
        ProcessEventsFor(10);
    }
    return true;
}

void Choose(QComboBox *list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QStringList Items(const QComboBox *list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

std::string Hz(const QString &khz) {
    return khz.toStdString() + "000";
}

class HamlibWindow : public WindowFixture {
protected:
    // The window with "Hamlib" chosen, the rig at `port`, 6095 kHz in the
    // field and two all-day transmissions in the grid.
    TForm1 &StartOn(const std::string &port, const std::string &extraSettings = "") {
        std::vector<TScheduleBlock> blocks;
        for (const char *khz : {"9420", "15440"}) {
            TScheduleBlock block;
            block.Start = "0000";
            block.Stop = "2400";
            block.Frequency = khz;
            blocks.push_back(block);
        }
        WriteFile("DRMSchedule.ini", ScheduleFileText(blocks));
        WriteFile("wwv.txt", "");
        WriteSettings("Receiver=18\r\nQRG=6095\r\n" + (port.empty() ? "" : "Hamlib port=" + port + "\r\n") +
                      extraSettings);
        TForm1 &form = Start();
        // No decoder is looked for: tests run side by side.
        form.DecoderControl = {[](const QString &) { return false; }, [](const QString &, bool) { return true; }, {}};
        EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
        return form;
    }

    // Ticks "Connect" as a user does and waits until the rig has said what it offers.
    static void ConnectAndWait(TForm1 &form) {
        form.checkaor->click();
        ASSERT_TRUE(form.checkaor->isChecked());
        ASSERT_TRUE(Eventually([&] { return form.cbfilter->isEnabled(); })) << "the rig never opened";
    }

    static int GridRowOf(TForm1 &form, const QString &khz) {
        for (int row = 1; !form.GridCell(2, row).isEmpty(); ++row)
            if (form.GridCell(2, row) == khz) return row;
        return 0;
    }

    // One clock tick a second later, then what the worker has sent back.
    void Tick(TForm1 &form) {
        clock->AdvanceSeconds(1);
        form.Timer1Timer();
        ProcessEventsFor(20);
    }

    // Ticks the clock until the status bar reports the link lost, or no more.
    bool TickUntilLost(TForm1 &form, bool lost) {
        // Coming back takes longer: a rigctld that was stopped first works off
        // the connections its time-outs left behind, on loaded cores.
        return Eventually(
            [&] {
                Tick(form);
                return form.StatusBar1->currentMessage().startsWith("Receiver lost: ") == lost;
            },
            lost ? kBoundMs : 3 * kBoundMs);
    }

    bool RigAt(const std::string &hz) {
        return Eventually([&] { return rigctld.Frequency() == hz; });
    }
    bool RigSays(const std::string &command, const std::string &value) {
        return Eventually([&] {
            const auto reply = rigctld.Ask(command);
            return !reply.empty() && reply.front() == value;
        });
    }

    TRigctld rigctld;
};

TEST_F(HamlibWindow, ConnectTunesFromEveryControlAndSetsTheRigsControls) {
    ASSERT_TRUE(rigctld.Started());
    TForm1 &form = StartOn(rigctld.Address());
    EXPECT_EQ(form.cbrx->currentText(), "Hamlib");
    EXPECT_TRUE(form.btnhamlib->isEnabled());

    ConnectAndWait(form);
    EXPECT_TRUE(RigAt("6095000"));
    // The mode of the settings, with the widest passband the rig offers for it.
    const std::vector<std::string> connected = rigctld.Ask("m", 2);
    ASSERT_EQ(connected.size(), 2U);
    EXPECT_EQ(connected[0], "AM");
    EXPECT_FALSE(form.btnhamlib->isEnabled());
    EXPECT_FALSE(form.cbrx->isEnabled());
    EXPECT_EQ(Items(form.cbatt), (QStringList{"0dB", "10dB", "20dB", "30dB"}));
    EXPECT_EQ(form.cbatt->currentText(), "0dB");
    EXPECT_EQ(Items(form.cbfilter), (QStringList{"Narrow", "Normal", "Wide"}));
    EXPECT_EQ(form.cbfilter->currentText(), "Wide");
    EXPECT_TRUE(form.VolBar->isEnabled());
    EXPECT_FALSE(form.SpeakBar->isEnabled());
    EXPECT_FALSE(form.gbsm->isHidden());

    // A schedule row, a preset, the step buttons and a band all tune the rig.
    const int row = GridRowOf(form, "9420");
    ASSERT_NE(row, 0);
    form.SetCurrentGridRow(row);
    form.StringGrid1Click();
    EXPECT_EQ(form.Edit1->text(), "9420");
    EXPECT_TRUE(RigAt("9420000"));
    form.Mem[3]->click();
    EXPECT_TRUE(RigAt(Hz(form.Mem[3]->text())));
    form.Button2->click();
    form.Button2->click();
    EXPECT_NE(form.Edit1->text(), form.Mem[3]->text());
    EXPECT_TRUE(RigAt(Hz(form.Edit1->text())));
    form.Button1->click();
    EXPECT_TRUE(RigAt(Hz(form.Edit1->text())));
    Choose(form.cbband, 8); // 31m
    EXPECT_TRUE(RigAt(Hz(form.Edit1->text())));

    Choose(form.cbatt, 2);
    EXPECT_TRUE(RigSays("l ATT", "20"));
    Choose(form.cbatt, 0);
    EXPECT_TRUE(RigSays("l ATT", "0"));
    // Commands reach the rig in order: once it has the tuning sent after the
    // filter, it has the filter too.
    auto passbandAfter = [&](int filterIndex, const QString &thenKhz) {
        Choose(form.cbfilter, filterIndex);
        form.SetFreq(thenKhz);
        EXPECT_TRUE(RigAt(Hz(thenKhz)));
        const auto mode = rigctld.Ask("m", 2);
        return mode.size() == 2 ? std::stoi(mode[1]) : -1;
    };
    const int narrow = passbandAfter(0, "9420");
    const int normal = passbandAfter(1, "15440");
    EXPECT_LT(narrow, normal);
    EXPECT_LE(normal, std::stoi(connected[1]));
    EXPECT_EQ(passbandAfter(2, "9420"), std::stoi(connected[1])) << "Wide is the widest";
    // Position 100 is the quietest, as for the other receivers.
    form.VolBar->setValue(100);
    EXPECT_TRUE(Eventually([&] {
        const auto reply = rigctld.Ask("l AF");
        return !reply.empty() && std::stod(reply.front()) == 0.0;
    }));
    form.VolBar->setValue(25);
    EXPECT_TRUE(Eventually([&] {
        const auto reply = rigctld.Ask("l AF");
        return !reply.empty() && std::fabs(std::stod(reply.front()) - 0.75) < 0.01;
    }));

    form.checkaor->click();
    EXPECT_TRUE(form.cbrx->isEnabled());
    EXPECT_TRUE(form.btnhamlib->isEnabled());
    EXPECT_FALSE(form.Edit1->isEnabled());
    EXPECT_FALSE(form.cbatt->isEnabled());
    EXPECT_TRUE(form.gbsm->isHidden());
    // Nothing reaches the rig once disconnected.
    const std::string before = rigctld.Frequency();
    form.Mem[0]->click();
    ProcessEventsFor(300);
    EXPECT_EQ(rigctld.Frequency(), before);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(HamlibWindow, AConnectThatFailsShowsHamlibsReasonOnceAndUnticks) {
    const std::string address = rigctld.Address();
    rigctld.Stop(); // nothing listens there now
    TForm1 &form = StartOn(address);
    form.checkaor->click();
    ASSERT_TRUE(Eventually([&] { return !form.checkaor->isChecked(); }));
    for (int i = 0; i < 5; ++i) Tick(form);
    ASSERT_EQ(errors.size(), 1) << errors.join("|").toStdString();
    EXPECT_TRUE(errors.front().startsWith("Hamlib: ")) << errors.front().toStdString();
    EXPECT_TRUE(errors.front().contains("127.0.0.1")) << errors.front().toStdString();
    EXPECT_TRUE(form.cbrx->isEnabled());
    EXPECT_TRUE(form.btnhamlib->isEnabled());
    EXPECT_FALSE(form.Edit1->isEnabled());
}

TEST_F(HamlibWindow, TheLogSamplesTheRigsStrengthInDbuv) {
    LogWorkingDir dir;
    TForm1 &form = StartOn(rigctld.Address(), "RXL Log=1\r\nRXL antenna correction=4\r\n");
    ConnectAndWait(form);
    form.Rxl = -1000;
    Tick(form);
    ASSERT_TRUE(Eventually([&] { return form.Rxl > -1000; })) << "no reading came";
    form.Button3->click();
    ASSERT_TRUE(form.LogFileOpen());
    std::vector<double> levels{form.Rxl};
    for (int second = 0; second < 70; ++second) {
        Tick(form);
        levels.push_back(form.Rxl);
    }
    ASSERT_FALSE(levels.empty());
    // Every reading is S9 = 34 dBuV plus whole dB, less the correction of 4 dB.
    for (double level : levels) EXPECT_DOUBLE_EQ(level - 30, std::round(level - 30)) << level;
    EXPECT_EQ(form.lblsm->text(), QString::number(static_cast<int>(std::lround(form.Rxl))));
    form.Button4->click();
    const std::string log = dir.Read();
    EXPECT_NE(log.find("Receiver         Hamlib\r\n"), std::string::npos) << log;
    std::smatch minute;
    ASSERT_TRUE(std::regex_search(log, minute, std::regex("\r\n  0000 +(-?[0-9]+)\r\n"))) << log;
    const double logged = std::stod(minute[1].str());
    EXPECT_GE(logged, *std::min_element(levels.begin(), levels.end()) - 0.5) << log;
    EXPECT_LE(logged, *std::max_element(levels.begin(), levels.end()) + 0.5);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(HamlibWindow, AServerThatGoesAwayIsReportedOnceAndReconnected) {
    TForm1 &form = StartOn(rigctld.Address());
    ConnectAndWait(form);
    ASSERT_TRUE(RigAt("6095000"));
    rigctld.Stop();
    ASSERT_TRUE(TickUntilLost(form, true));
    EXPECT_TRUE(form.checkaor->isChecked());
    // Tuned while lost: the rig gets it once it is back.
    form.Mem[3]->click();
    for (int i = 0; i < 5; ++i) Tick(form);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();

    rigctld.Restart();
    ASSERT_TRUE(rigctld.Started());
    EXPECT_TRUE(TickUntilLost(form, false));
    EXPECT_TRUE(RigAt(Hz(form.Mem[3]->text())));
    EXPECT_TRUE(RigSays("m", "AM"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(HamlibWindow, AFrozenServerNeverHoldsTheWindow) {
    TForm1 &form = StartOn(rigctld.Address());
    ConnectAndWait(form);
    ASSERT_TRUE(RigAt("6095000"));
    rigctld.Freeze();
    qint64 longest = 0;
    QString caption = form.windowTitle();
    auto timed = [&](const std::function<void()> &action) {
        QElapsedTimer timer;
        timer.start();
        action();
        longest = std::max(longest, timer.elapsed());
    };
    // Clicks and clock ticks for a while, long past Hamlib's time-out.
    for (int i = 0; i < 12; ++i) {
        timed([&] { form.Button2->click(); });
        timed([&] {
            clock->AdvanceSeconds(1);
            form.Timer1Timer();
        });
        EXPECT_NE(form.windowTitle(), caption) << "the clock caption stood still";
        caption = form.windowTitle();
        ProcessEventsFor(250);
    }
    // Generous for a loaded machine, yet well below the rig's time-out.
    EXPECT_LT(longest, 1000);
    EXPECT_TRUE(TickUntilLost(form, true));
    // Of all the steps waiting, the latest one is where the rig ends up.
    const std::string latest = Hz(form.Edit1->text());
    rigctld.Thaw();
    EXPECT_TRUE(TickUntilLost(form, false));
    EXPECT_TRUE(RigAt(latest));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(HamlibWindow, AKenwoodStyleReceiverOnASerialPort) {
    TPtyPair pty;
    TSimKenwood receiver(pty);
    TForm1 &form = StartOn(pty.DevicePath(), "Hamlib model=2009\r\nHamlib speed=4800\r\n");
    ConnectAndWait(form);
    EXPECT_TRUE(Eventually([&] { return receiver.Frequency() == 6095000; }));
    EXPECT_TRUE(Eventually([&] { return receiver.Mode() == '5'; })) << "AM";
    form.Button2->click();
    EXPECT_TRUE(Eventually([&] { return receiver.Frequency() == std::stoll(Hz(form.Edit1->text())); }));
    const auto commands = receiver.Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "FA00006095000"), commands.end());
    form.checkaor->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
}

TEST_F(HamlibWindow, SettingsChosenInTheDialogAreStoredAfterTheOtherKeys) {
    TForm1 &form = StartOn("");
    form.show();
    bool opened = false;
    QTimer::singleShot(0, &form, [&] {
        auto *dialog = qobject_cast<THamlibDialog *>(QApplication::activeModalWidget());
        opened = dialog != nullptr;
        if (!dialog) return;
        dialog->Search->setText("TS-850");
        dialog->Port->setText("/dev/serial/by-id/usb-FTDI-port0");
        dialog->Speed->setCurrentIndex(dialog->Speed->findData(4800));
        dialog->Mode->setCurrentText("usb");
        dialog->accept();
    });
    // Alt+H is the button's keyboard equivalent.
    form.FormKeyDown(Qt::Key_H, Qt::AltModifier, Qt::NoButton);
    ASSERT_TRUE(opened);
    form.close();
    const std::string ini = ReadFile("DRMQuodra.ini");
    const size_t hamlib = ini.find("Hamlib model=2009\r\nHamlib port=/dev/serial/by-id/usb-FTDI-port0\r\n"
                                   "Hamlib speed=4800\r\nHamlib mode=USB\r\n");
    ASSERT_NE(hamlib, std::string::npos) << ini;
    EXPECT_LT(ini.find("Bulletin URL="), hamlib);
}

} // namespace
} // namespace drmq::test
