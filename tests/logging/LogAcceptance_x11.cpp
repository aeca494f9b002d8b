// End to end on a real X display: the main window, Alt+L typed through the
// X server, a pseudo-terminal as COM1 and a far end playing an FRG100.
#include "logging/DesktopAutomation.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/LogWorkingDir.h"
#include "support/PtyPair.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

namespace drmq {
namespace {

constexpr std::uint8_t kSMeter = 200;
constexpr int kColumn6095 = 11;
constexpr int kCalibratedLevel = 47;

// The far end of the cable: an FRG100 that answers every S-meter request
// (00 00 00 00 F7) with its five-byte reply; other commands are taken silently.
class TFrg100Far {
public:
    explicit TFrg100Far(const test::TPtyPair &pty) : pty_(pty), thread_([this] { Run(); }) {}
    ~TFrg100Far() {
        stop_ = true;
        thread_.join();
    }
    int Requests() const { return requests_; }

private:
    void Run() {
        const std::string request("\x00\x00\x00\x00\xF7", 5);
        const std::string reply = std::string("\x00\x00\x00", 3) + static_cast<char>(kSMeter) + "\xF7";
        std::string pending;
        while (!stop_) {
            pending += pty_.ReadExact(5 - pending.size(), 50);
            if (pending.size() < 5) continue;
            if (pending == request) {
                pty_.Write(reply);
                ++requests_;
            }
            pending.clear();
        }
    }

    const test::TPtyPair &pty_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

// 256 readings x 59 columns, row by row; only the cell of the reading the
// far end reports at 6095 kHz holds a level.
std::string CalibrationFile() {
    std::string line;
    for (int row = 0; row < 256; ++row)
        for (int column = 0; column < 59; ++column)
            line += (row == kSMeter && column == kColumn6095 ? std::to_string(kCalibratedLevel) : "0") + ",";
    return line + "\r\n";
}

class LogAcceptanceTest : public test::WindowFixture {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a real X display";
        WindowFixture::SetUp();
    }

    // Types Alt+L into the focused window through the X server; a window
    // that cannot get the X focus gets the key event from Qt instead.
    void TypeAltL(TForm1 &form, bool expectRunning) {
        form.activateWindow();
        test::ProcessEventsUntil([&] { return QApplication::activeWindow() == &form; }, 2000);
        if (QApplication::focusWidget()) SendKeys("%l", true);
        if (!test::ProcessEventsUntil([&] { return form.LogRunning == expectRunning; }, 1000)) {
            ADD_FAILURE() << "Alt+L did not arrive through the X server";
            QKeyEvent press(QEvent::KeyPress, Qt::Key_L, Qt::AltModifier);
            QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &form, &press);
        }
    }

    // One clock tick a second later, then the far end's reply is taken.
    void Tick(TForm1 &form, const TFrg100Far &far) {
        const int before = far.Requests();
        clock->AdvanceSeconds(1);
        form.Timer1Timer();
        test::ProcessEventsUntil([&] { return far.Requests() > before; }, 1000);
        test::ProcessEventsFor(5);
    }
};

TEST_F(LogAcceptanceTest, TwoMinuteLogOfAnFrg100CarriesTheCalibratedLevel) {
    test::TPtyPair pty;
    TFrg100Far far(pty);
    test::LogWorkingDir dir;
    WriteFile("FRG100.cal", CalibrationFile());
    WriteSettings("Receiver=" + std::to_string(rmFRG100) +
                  "\r\nCOM Port=0\r\nRXL Log=1\r\nQRG=6095\r\nRXL antenna correction=0.5\r\n"
                  "[Ports]\r\nCOM1=" + pty.DevicePath() + "\r\n");
    TForm1 &form = Start();
    errors.clear(); // no schedule in the program folder
    form.show();
    form.activateWindow();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return QApplication::activeWindow() == &form; }, 5000));

    form.checkaor->click();
    ASSERT_TRUE(form.checkaor->isChecked());
    ASSERT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    // The first replies arrive before the log starts.
    ASSERT_TRUE(test::ProcessEventsUntil(
        [&] {
            Tick(form, far);
            return form.Readings.SMeterByte == kSMeter;
        },
        5000));
    Tick(form, far);
    EXPECT_EQ(form.lblsm->text(), "46.5");

    const double start = clock->UtcNow();
    TypeAltL(form, true);
    ASSERT_TRUE(form.LogRunning);
    while (clock->UtcNow() - start < 130.0 / 86400.0) Tick(form, far);
    TypeAltL(form, false);
    EXPECT_FALSE(form.LogRunning);

    const DateTimeParts t = DecodeDateTime(start);
    char startText[32];
    std::snprintf(startText, sizeof startText, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    EXPECT_EQ(dir.Read(), std::string("\r\n>>>>\r\nDRM Quodra\r\nStarttime (UTC)  ") + startText +
                              "\r\nFrequency        6095 kHz\r\nReceiver         FRG100\r\n\r\n"
                              "MINUTE  RXL    Longitude   Latitude\r\n"
                              "  0000   46\r\n  0001   46\r\n\r\nRXL min: 46.5, max: 46.5\r\n<<<<\r\n");
    EXPECT_EQ(form.Panel(1)->text(), "Logged: 2 min");
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

// The shortcuts typed through the X server reach the main window before the
// focused frequency field.
TEST_F(LogAcceptanceTest, ArrowsAndAltDigitsThroughTheXServer) {
    WriteSettings("Receiver=" + std::to_string(rmWRG303) + "\r\nQRG=6095\r\nStep=2\r\n[Presets]\r\nMem1=7325\r\n");
    TForm1 &form = Start();
    // Stands for a connected receiver: the WRG303 without a radio sends nothing.
    form.checkaor->setChecked(true);
    form.Edit1->setEnabled(true);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return QApplication::activeWindow() == &form; }, 5000));
    form.Edit1->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return QApplication::focusWidget() == form.Edit1; }, 2000));

    SendKeys("{RIGHT}", true);
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return form.Edit1->text() == "6100"; }, 1000)) << form.Edit1->text().toStdString();
    SendKeys("%9", true);
    test::ProcessEventsFor(100);
    EXPECT_EQ(form.Edit1->text(), "6100");
    SendKeys("%1", true);
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return form.Edit1->text() == "7325"; }, 1000)) << form.Edit1->text().toStdString();
    SendKeys("{LEFT}", true);
    EXPECT_TRUE(test::ProcessEventsUntil([&] { return form.Edit1->text() == "7320"; }, 1000)) << form.Edit1->text().toStdString();
}

} // namespace
} // namespace drmq
