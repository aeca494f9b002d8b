// What the listener reads when the decoder's window is not on the X server:
// the real key sequences against windows made with Xlib.
#include "logging/DesktopAutomation.h"
#include "rig/ReceiverModel.h"
#include "support/EventLoopWait.h"
#include "support/LogWorkingDir.h"
#include "support/WindowFixture.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

// After gtest and Qt: Xlib's None macro clashes with both.
#include "support/X11TestDesk.h"

namespace drmq {
namespace {

using Keys = std::vector<std::string>;

class DecoderNoticeTest : public test::WindowFixture {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs a real X display";
        ASSERT_TRUE(desk.Connected());
        if (const char *wayland = std::getenv("WAYLAND_DISPLAY")) savedWayland = wayland;
        unsetenv("WAYLAND_DISPLAY");
        WindowFixture::SetUp();
    }
    void TearDown() override {
        WindowFixture::TearDown();
        if (savedWayland) setenv("WAYLAND_DISPLAY", savedWayland->c_str(), 1);
    }

    // A window of another program that has the keyboard focus.
    Window FocusedBystander() {
        const std::string title = "Bystander " + std::to_string(::getpid());
        const Window w = desk.Open(title);
        EXPECT_TRUE(ActivateWindow(QString::fromStdString(title)));
        return w;
    }

    test::TX11TestDesk desk;
    std::optional<std::string> savedWayland;
};

TEST_F(DecoderNoticeTest, MissingDecoderWindowIsNamedInTheStatusBarAndNoKeyIsSent) {
    test::LogWorkingDir dir;
    WriteSettings("Receiver=" + std::to_string(rmFT847) + "\r\nSoftware RX=1\r\nQRG=6095\r\n");
    TForm1 &form = Start();
    errors.clear(); // no schedule in the program folder
    form.DesktopSession = CurrentDesktopSession;
    form.show();

    // A title that only begins with "Dream" is not Dream's.
    const Window editor = desk.Open("DreamLog.txt - Editor");
    Window bystander = FocusedBystander();
    form.Button3Click();
    EXPECT_TRUE(form.LogRunning);
    const QString missing = form.StatusBar1->currentMessage();
    EXPECT_TRUE(missing.startsWith("Decoder window \"Dream\" not found")) << missing.toStdString();
    EXPECT_FALSE(missing.contains("XWayland")) << missing.toStdString();
    form.Button4Click();
    EXPECT_FALSE(form.LogRunning);
    EXPECT_EQ(desk.KeyEvents(bystander, 0), Keys{});
    EXPECT_EQ(desk.KeyEvents(editor, 0), Keys{});
    desk.Close(editor);

    // A window of that title that names no process: Dream's files cannot be
    // read, so its log is switched on and, as it was switched on, off again,
    // and the status bar says once that this is not checked.
    const Window decoder = desk.Open("System Evaluation");
    const Keys altL = {"Alt_L down", "l down", "l up", "Alt_L up"};
    auto settled = [&] { return test::ProcessEventsUntil([&] { return !form.DreamLog.Busy(); }, 30000); };
    form.Button3Click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(desk.KeyEvents(decoder, altL.size()), altL);
    EXPECT_EQ(form.StatusBar1->currentMessage(), "Dream's folder cannot be read: its log is neither checked nor charted");
    form.StatusBar1->clearMessage();
    form.Button4Click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(desk.KeyEvents(decoder, altL.size()), altL);
    EXPECT_EQ(form.StatusBar1->currentMessage(), "");
    desk.Close(decoder);

    // In a Wayland session a native decoder window is out of reach: the text
    // says how to start the decoder so that it can be found.
    setenv("WAYLAND_DISPLAY", "wayland-drmq-test", 1);
    desk.Close(bystander);
    bystander = FocusedBystander();
    form.Button3Click();
    const QString hint = form.StatusBar1->currentMessage();
    EXPECT_TRUE(hint.startsWith("Decoder window not found") && hint.contains("XWayland") &&
                hint.contains("QT_QPA_PLATFORM=xcb"))
        << hint.toStdString();
    EXPECT_EQ(desk.KeyEvents(bystander, 0), Keys{});
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

} // namespace
} // namespace drmq
