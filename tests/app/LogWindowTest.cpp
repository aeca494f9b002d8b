#include "app/RadioGroup.h"
#include "logging/AttentionDialog.h"
#include "rig/ComPort.h"
#include "rig/ReceiverModel.h"
#include "schedule/ColorsDialog.h"
#include "support/EventLoopWait.h"
#include "support/LogWorkingDir.h"
#include "support/PtyPair.h"
#include "support/WindowFixture.h"
#include "tuning/PresetsDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QSignalBlocker>
#include <gtest/gtest.h>

#include <filesystem>

namespace drmq {
namespace {

using test::LogWorkingDir;

// Sends a key press and release to a widget, as the keyboard would to the
// focused one; the main window sees it first. Digits and letters carry the
// text they would type.
void PressKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (!target) return;
    QString text;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
        text = QChar(key);
        if (!(modifiers & Qt::ShiftModifier)) text = text.toLower();
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

class LogWindowTest : public test::WindowFixture {
protected:
    // A shown, active main window with the given receiver and "FSTLog" ticked.
    TForm1 &StartWith(int model, const std::string &extraLines = "") {
        WriteSettings("Receiver=" + std::to_string(model) + "\r\nRXL Log=1\r\nQRG=6095\r\n" + extraLines);
        TForm1 &form = Start();
        // No decoder and no other window is looked for: tests run side by side.
        form.DecoderControl = {[](const QString &) { return false; }, [](const QString &, bool) { return true; }, {}};
        form.show();
        Activate(form);
        errors.clear(); // no schedule in the program folder
        return form;
    }
    // Makes the main window the active one, so its widgets have the focus.
    static void Activate(TForm1 &form) {
        form.activateWindow();
        for (int i = 0; i < 100 && QApplication::activeWindow() != &form; ++i) QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), &form);
    }
    // Every activation, key string and pause from now on goes to `steps`;
    // each window the sequences look for is there.
    void RecordDecoderSteps(TForm1 &form) {
        form.DecoderControl = {[this, &form](const QString &title) {
                                   steps << "activate " + title + (form.LogRunning ? " (running)" : "");
                                   return true;
                               },
                               [this](const QString &keys, bool wait) {
                                   steps << "keys " + keys + (wait ? " wait" : "");
                                   return true;
                               },
                               {}};
    }
    // One clock tick a whole number of seconds later.
    void TickAfter(TForm1 &form, double seconds) {
        clock->AdvanceSeconds(seconds);
        form.Timer1Timer();
    }

    LogWorkingDir dir;
    QStringList steps;
};

TEST_F(LogWindowTest, StartAndStopSwitchTheButtonsAndWriteOneBlock) {
    TForm1 &form = StartWith(rmFRG100);
    form.Button3->click();
    EXPECT_TRUE(form.LogRunning);
    EXPECT_TRUE(form.LogFileOpen());
    EXPECT_FALSE(form.Button3->isEnabled());
    EXPECT_TRUE(form.Button4->isEnabled());
    EXPECT_DOUBLE_EQ(form.LogStartTime(), EncodeDateTime({2024, 3, 4, 10, 0, 30, 0}));

    // Not connected: no reading is taken, so each tick samples the last level.
    form.Rxl = 41.6;
    for (int t = 0; t < 70; ++t) TickAfter(form, 1);
    EXPECT_EQ(form.Panel(1)->text(), "Logged: 1 min");
    form.Button4->click();

    EXPECT_FALSE(form.LogRunning);
    EXPECT_FALSE(form.LogFileOpen());
    EXPECT_TRUE(form.Button3->isEnabled());
    EXPECT_FALSE(form.Button4->isEnabled());
    EXPECT_EQ(form.Panel(1)->text(), "Logged: 1 min");
    EXPECT_EQ(dir.Read(), "\r\n>>>>\r\nDRM Quodra\r\nStarttime (UTC)  2024-03-04 10:00:30\r\n"
                          "Frequency        6095 kHz\r\nReceiver         FRG100\r\n\r\n"
                          "MINUTE  RXL    Longitude   Latitude\r\n  0000   42\r\n"
                          "\r\nRXL min: 41.6, max: 41.6\r\n<<<<\r\n");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(LogWindowTest, FstLogWithAnFt847WritesNothing) {
    TForm1 &form = StartWith(rmFT847);
    form.Button3->click();
    TickAfter(form, 1);
    EXPECT_EQ(form.Panel(1)->text(), "Logged: 0 min");
    TickAfter(form, 90);
    EXPECT_EQ(form.Panel(1)->text(), "Logged: 1 min");
    form.Button4->click();
    EXPECT_FALSE(form.LogRunning);
    EXPECT_FALSE(dir.Exists());
}

TEST_F(LogWindowTest, FstLogUncheckedLeavesTheFileUntouched) {
    TForm1 &form = StartWith(rmAOR7030);
    form.cbrxl->setChecked(false);
    form.Button3->click();
    TickAfter(form, 70);
    form.Button4->click();
    EXPECT_FALSE(dir.Exists());
}

TEST_F(LogWindowTest, FileErrorAtStartLeavesTheLogRunningWithTheButtonsUnswitched) {
    std::filesystem::create_directory(dir.Path() + "/DRMQuodra.log");
    TForm1 &form = StartWith(rmFRG100);
    form.Button3->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Dateizugriff verweigert");
    EXPECT_TRUE(form.LogRunning);
    EXPECT_FALSE(form.LogFileOpen());
    EXPECT_TRUE(form.Button3->isEnabled());
    EXPECT_FALSE(form.Button4->isEnabled());
    // Alt+L ends it although "Stop Log" is disabled.
    form.FormKeyDown(Qt::Key_L, Qt::AltModifier, Qt::NoButton);
    EXPECT_FALSE(form.LogRunning);
}

TEST_F(LogWindowTest, ClosingTheWindowDuringALogWritesTheClosingLines) {
    TForm1 &form = StartWith(rmTS850);
    form.Button3->click();
    form.Rxl = 34.0;
    TickAfter(form, 1);
    form.close();
    const std::string log = dir.Read();
    EXPECT_NE(log.find("Receiver         TS-850\r\n"), std::string::npos);
    EXPECT_TRUE(log.ends_with("\r\nRXL min: 34.0, max: 34.0\r\n<<<<\r\n")) << log;
}

// ---- The attention dialog, asked by SetFreq while a log runs ---------------

class AttentionThroughSetFreqTest : public LogWindowTest {
protected:
    // Tunes to 7325 while a log runs and answers the real dialog with a button.
    void TuneAnswering(TForm1 &form, int answer) {
        QTimer::singleShot(0, [&form, answer] {
            auto *dialog = qobject_cast<TForm4 *>(QApplication::activeModalWidget());
            ASSERT_EQ(dialog, form.Form4);
            QPushButton *buttons[] = {dialog->ChangeButton, dialog->StopButton, dialog->QuitButton};
            buttons[answer - 1]->click();
        });
        form.Guard(TErrorSource::Action, [&] { form.SetFreq("7325"); });
    }
};

TEST_F(AttentionThroughSetFreqTest, ChangeItTunesAndTheLogRunsOn) {
    TForm1 &form = StartWith(rmWRG303);
    form.cbrxl->setChecked(false);
    form.Button3->click();
    TuneAnswering(form, TForm4::ChangeIt);
    EXPECT_EQ(form.Edit1->text(), "7325");
    EXPECT_TRUE(form.LogRunning);
    EXPECT_TRUE(form.PromptArmed);
}

TEST_F(AttentionThroughSetFreqTest, StopLogAndChangeClosesTheBlockThenTunes) {
    // No receiver is connected, so the FRG100 command fails after the tuning
    // reached the field; the block is closed before that.
    TForm1 &form = StartWith(rmFRG100);
    form.Button3->click();
    TuneAnswering(form, TForm4::StopLogAndChange);
    EXPECT_FALSE(form.LogRunning);
    EXPECT_TRUE(form.Button3->isEnabled());
    EXPECT_EQ(form.Edit1->text(), "7325");
    const std::string log = dir.Read();
    EXPECT_NE(log.find("Frequency        6095 kHz\r\n"), std::string::npos);
    EXPECT_TRUE(log.ends_with("\r\nRXL min: 120.0, max: -14.0\r\n<<<<\r\n")) << log;
}

TEST_F(AttentionThroughSetFreqTest, QuitKeepsTheFrequencyAndWritesNothing) {
    TForm1 &form = StartWith(rmFRG100);
    form.Button3->click();
    const std::string before = dir.Read();
    TuneAnswering(form, TForm4::Quit);
    EXPECT_EQ(form.Edit1->text(), "6095");
    EXPECT_TRUE(form.LogRunning);
    EXPECT_EQ(dir.Read(), before);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(AttentionThroughSetFreqTest, NoDialogForTheShownFrequencyOrWithoutALog) {
    TForm1 &form = StartWith(rmWRG303);
    int asked = 0;
    form.AttentionAnswer = [&] {
        ++asked;
        return static_cast<int>(TForm4::Quit);
    };
    form.SetFreq("7325");
    EXPECT_EQ(form.Edit1->text(), "7325");
    form.Button3->click();
    form.SetFreq("7325");
    EXPECT_EQ(asked, 0);
    form.SetFreq("9800");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(form.Edit1->text(), "7325");
}

// ---- The decoder is told, in the order of the log steps -------------------

TEST_F(LogWindowTest, StartAndStopTellTheChosenDecoderThenReturnToTheProgram) {
    TForm1 &form = StartWith(rmFT847);
    RecordDecoderSteps(form);
    form.Button3->click();
    form.Edit1->setText("7325"); // the stop sequence sends no frequency
    form.Button4->click();
    EXPECT_EQ(steps, QStringList({"activate DRM Software Radio 2.", "keys %R wait", "keys 6095 wait", "keys %S wait",
                                  "activate DRM Quodra", "activate DRM Software Radio 2. (running)", "keys %R wait",
                                  "activate DRM Quodra"}));
}

// Dream's log is looked at before and after: a log already running is left
// alone at the start and stopped at the stop, whoever started it; a Dream
// that does not follow is reported while the program's own log runs on and
// its clock keeps ticking.
TEST_F(LogWindowTest, DreamsLogIsSwitchedOnlyWhenItMustChangeAndADreamThatDoesNotFollowIsReported) {
    TForm1 &form = StartWith(rmFT847, "Software RX=1\r\n");
    bool dreamLogs = true;
    bool dreamFollows = true;
    form.DecoderControl = {[&](const QString &title) {
                               steps << "activate " + title;
                               return true;
                           },
                           [&](const QString &keys, bool wait) {
                               steps << "keys " + keys + (wait ? " wait" : "");
                               if (keys == "%l" && dreamFollows) dreamLogs = !dreamLogs;
                               return true;
                           },
                           [](const QString &title) {
                               return TFoundWindow{title == "System Evaluation", "/dream", title};
                           }};
    form.DreamLog.StateOf = [&](const QString &folder) {
        EXPECT_EQ(folder, "/dream");
        return dreamLogs ? TDreamLogState::Running : TDreamLogState::Stopped;
    };
    auto settled = [&] { return test::ProcessEventsUntil([&] { return !form.DreamLog.Busy(); }, 20000); };

    form.Button3->click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(steps, QStringList());
    form.Button4->click();
    EXPECT_FALSE(form.LogRunning);
    ASSERT_TRUE(settled());
    EXPECT_FALSE(dreamLogs);
    EXPECT_EQ(steps, QStringList({"activate System Evaluation", "activate System Evaluation", "keys %l wait",
                                  "activate DRM Quodra"}));
    EXPECT_EQ(form.StatusBar1->currentMessage(), "");

    steps.clear();
    dreamFollows = false;
    form.Button3->click();
    EXPECT_TRUE(form.LogRunning);
    form.setWindowTitle("no tick yet");
    form.Timer1->start(0);
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return form.windowTitle().contains("UTC:"); }, 20000));
    EXPECT_TRUE(form.DreamLog.Busy()); // the clock ticked while Dream's files were watched
    ASSERT_TRUE(settled());
    EXPECT_EQ(form.StatusBar1->currentMessage(), "Dream did not start its log");
    EXPECT_EQ(steps.count("keys %l wait"), 1);
    EXPECT_TRUE(form.LogRunning);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

// A stored frequency that is key syntax ("%{F4}" would close the decoder,
// a huge repeat count would hang the program) is never typed: the log starts
// at once, without a key or a pause, and its stop sends nothing either.
class KeySyntaxFrequencyTest : public LogWindowTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(KeySyntaxFrequencyTest, StartsTheLogWithoutSendingAKey) {
    WriteSettings("Receiver=" + std::to_string(rmFT847) + "\r\nSoftware RX=0\r\nQRG=" + GetParam() + "\r\n");
    TForm1 &form = Start();
    RecordDecoderSteps(form);
    ASSERT_EQ(form.Edit1->text(), GetParam());
    form.Button3->click();
    EXPECT_TRUE(form.LogRunning);
    EXPECT_TRUE(form.Button4->isEnabled());
    EXPECT_EQ(steps, QStringList({"activate DRM Quodra"}));
    form.Button4->click();
    EXPECT_FALSE(form.LogRunning);
    EXPECT_EQ(steps, QStringList({"activate DRM Quodra", "activate DRM Quodra"}));
}

INSTANTIATE_TEST_SUITE_P(StoredQrg, KeySyntaxFrequencyTest, ::testing::Values("%{F4}", "{a 43555543}"),
                         [](const auto &info) { return info.index == 0 ? "AltF4" : "HugeRepeatCount"; });

TEST_F(LogWindowTest, ClockTickAndClicksDuringADecoderSequenceWaitForItsEnd) {
    TForm1 &form = StartWith(rmFRG100);
    form.DecoderControl = {[&](const QString &title) {
                               steps << "activate " + title;
                               return true;
                           },
                           [&](const QString &keys, bool) {
                               steps << "keys " + keys;
                               if (keys != "%S") return true;
                               // While the keys are typed (with events let
                               // through), the user clicks again and the clock
                               // falls due.
                               form.Button3->click();
                               form.Timer1->start(0);
                               test::ProcessEventsFor(50);
                               steps << "title " + form.windowTitle();
                               return true;
                           },
                           {}};
    form.Button3->click();
    EXPECT_EQ(steps, QStringList({"activate DRM Software Radio 2.", "keys %R", "keys 6095", "keys %S",
                                  "title DRM Quodra 3.2 by R. Vandelm", "activate DRM Quodra"}));
    // Afterwards the tick runs once, inside the log; the second click met a
    // disabled button and is dropped.
    test::ProcessEventsUntil([&] { return form.windowTitle().contains("UTC:"); });
    EXPECT_EQ(form.Panel(1)->text(), "Logged: 0 min");
    EXPECT_EQ(steps.count("keys %R"), 1);
    EXPECT_TRUE(form.LogRunning);
}

TEST_F(LogWindowTest, WithoutAnXServerTheDecoderIsLeftAloneAndTheStatusBarSaysWhyOnce) {
    TForm1 &form = StartWith(rmFT847, "Software RX=1\r\n");
    RecordDecoderSteps(form);
    form.DesktopSession = [] { return TDesktopSession{false, "", true}; };
    form.Button3->click();
    EXPECT_TRUE(form.LogRunning);
    EXPECT_TRUE(form.StatusBar1->currentMessage().startsWith("No X server (DISPLAY is not set)"))
        << form.StatusBar1->currentMessage().toStdString();
    form.StatusBar1->clearMessage();
    form.Button4->click();
    EXPECT_FALSE(form.LogRunning);
    EXPECT_EQ(form.StatusBar1->currentMessage(), "");
    EXPECT_EQ(steps, QStringList());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

// ---- Keyboard shortcuts ------------------------------------------------------

class ShortcutTest : public LogWindowTest {
protected:
    // A window standing for a connected receiver that needs no link: the
    // WRG303 without a radio handle sends nothing when tuned.
    TForm1 &Connected(const std::string &extraLines = "") {
        TForm1 &form = StartWith(rmWRG303, extraLines);
        // Ticked without running the connect, which would report the missing library.
        const QSignalBlocker quiet(form.checkaor);
        form.checkaor->setChecked(true);
        form.Edit1->setEnabled(true);
        return form;
    }
    QWidget *Focused() {
        QWidget *focused = QApplication::focusWidget();
        EXPECT_NE(focused, nullptr) << "the main window has no focused widget";
        return focused;
    }
};

TEST_F(ShortcutTest, AltLTogglesTheLogOnlyWithExactlyAlt) {
    TForm1 &form = Connected();
    QWidget *target = Focused();
    ASSERT_NE(target, nullptr);
    PressKey(target, Qt::Key_L, Qt::AltModifier | Qt::ShiftModifier);
    PressKey(target, Qt::Key_L, Qt::ControlModifier);
    PressKey(target, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(form.LogRunning);
    PressKey(target, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(form.LogRunning);
    EXPECT_FALSE(form.Button3->isEnabled());
    PressKey(target, Qt::Key_L, Qt::AltModifier);
    EXPECT_FALSE(form.LogRunning);
    // With a mouse button held it is not the shortcut either.
    form.FormKeyDown(Qt::Key_L, Qt::AltModifier, Qt::LeftButton);
    EXPECT_FALSE(form.LogRunning);
}

TEST_F(ShortcutTest, AltXAndAltYStepFiveKilohertzAndRestoreTheStepList) {
    TForm1 &form = Connected("Step=3\r\n"); // "1 kHz"
    ASSERT_EQ(form.cbstep->currentText(), "1 kHz");
    QWidget *target = Focused();
    ASSERT_NE(target, nullptr);
    PressKey(target, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(form.Edit1->text(), "6100");
    EXPECT_EQ(form.cbstep->currentText(), "1 kHz");
    PressKey(target, Qt::Key_Y, Qt::AltModifier);
    PressKey(target, Qt::Key_Y, Qt::AltModifier);
    EXPECT_EQ(form.Edit1->text(), "6090");
    EXPECT_EQ(form.cbstep->currentIndex(), 3);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(ShortcutTest, AltOneToEightPressThePresetsAndOtherDigitsDoNothing) {
    TForm1 &form = Connected("[Presets]\r\nMem1=7325\r\nMem8=11800\r\nMem9=15440\r\nMem10=17800\r\n");
    // In the frequency field the digits must not be typed either.
    form.Edit1->setFocus();
    QWidget *target = Focused();
    ASSERT_EQ(target, form.Edit1);
    PressKey(target, Qt::Key_9, Qt::AltModifier);
    PressKey(target, Qt::Key_0, Qt::AltModifier);
    PressKey(target, Qt::Key_1, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_EQ(form.Edit1->text(), "6095");
    PressKey(target, Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(form.Edit1->text(), "7325");
    PressKey(target, Qt::Key_8, Qt::AltModifier);
    EXPECT_EQ(form.Edit1->text(), "11800");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ShortcutTest, ArrowKeysTuneEvenInTheFrequencyField) {
    TForm1 &form = Connected();
    form.Edit1->setFocus();
    ASSERT_EQ(Focused(), form.Edit1);
    PressKey(form.Edit1, Qt::Key_Right);
    EXPECT_EQ(form.Edit1->text(), "6100");
    PressKey(form.Edit1, Qt::Key_Left, Qt::ShiftModifier);
    PressKey(form.Edit1, Qt::Key_Left);
    EXPECT_EQ(form.Edit1->text(), "6090");
    // Nothing was selected by Shift+Left: the field never saw the arrows.
    EXPECT_FALSE(form.Edit1->hasSelectedText());
}

TEST_F(ShortcutTest, CtrlAltBShowsTheMessageEvenWithoutAReceiver) {
    WriteSettings();
    TForm1 &form = Start();
    form.FormKeyDown(Qt::Key_B, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, Qt::NoButton);
    form.FormKeyDown(Qt::Key_B, Qt::AltModifier, Qt::NoButton);
    EXPECT_TRUE(messages.isEmpty());
    form.FormKeyDown(Qt::Key_B, Qt::ControlModifier | Qt::AltModifier, Qt::NoButton);
    EXPECT_EQ(messages, QStringList({"Shortcut gedrückt"}));
}

TEST_F(ShortcutTest, AltVAndAltAFocusOnlyEnabledSliders) {
    TForm1 &form = Connected();
    QWidget *before = Focused();
    PressKey(before, Qt::Key_V, Qt::AltModifier);
    PressKey(before, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    form.SpeakBar->setEnabled(true);
    form.VolBar->setEnabled(true);
    PressKey(before, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.SpeakBar);
    PressKey(form.SpeakBar, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.VolBar);
}

TEST_F(ShortcutTest, AltMAndAltCOpenTheirDialogsModally) {
    TForm1 &form = Connected();
    const struct {
        int key;
        QDialog *dialog;
    } cases[] = {{Qt::Key_M, form.Form2}, {Qt::Key_C, form.Form3}};
    for (const auto &c : cases) {
        QWidget *shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget();
            if (shown) shown->close();
        });
        PressKey(Focused(), c.key, Qt::AltModifier);
        EXPECT_EQ(shown, c.dialog) << c.key;
        Activate(form);
    }
}

TEST_F(ShortcutTest, AltSTicksAndUnticksConnectThroughItsClickHandler) {
    test::TPtyPair pty;
    TForm1 &form = StartWith(rmTS850, "COM Port=0\r\n[Ports]\r\nCOM1=" + pty.DevicePath() + "\r\n");
    QWidget *target = Focused();
    ASSERT_NE(target, nullptr);
    PressKey(target, Qt::Key_S, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_FALSE(form.checkaor->isChecked());
    PressKey(target, Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(form.checkaor->isChecked());
    EXPECT_TRUE(form.ComPort1->Connected());
    PressKey(Focused(), Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(form.checkaor->isChecked());
    EXPECT_FALSE(form.ComPort1->Connected());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

} // namespace
} // namespace drmq
