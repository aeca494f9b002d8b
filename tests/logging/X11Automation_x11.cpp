// Window activation and key injection against a real X server (Xvfb under
// `make test`): windows are created here with Xlib and looked up by title.
#include "logging/DecoderSequences.h"
#include "logging/DesktopAutomation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

// After gtest and Qt: Xlib's None macro clashes with both.
#include "support/X11TestDesk.h"
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/keysym.h>

namespace drmq {
namespace {

class X11AutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        ASSERT_TRUE(desk.Connected());
        display = desk.XDisplay();
    }

    Window Open(const std::string &title) { return desk.Open(title); }
    std::vector<std::string> KeyEvents(Window w, std::size_t expected) { return desk.KeyEvents(w, expected); }

    test::TX11TestDesk desk;
    Display *display = nullptr;
};

TEST_F(X11AutomationTest, PrefixFindsTheVersion2WindowInAnyLetterCase) {
    const Window fhg = Open("DRM Software Radio 2.1");
    EXPECT_TRUE(ActivateWindow("DRM Software Radio 2."));
    EXPECT_EQ(LastActivatedWindow(), fhg);
    const Window beta = Open("DRM software radio 2.3 beta");
    EXPECT_TRUE(ActivateWindow("DRM Software Radio 2."));
    EXPECT_EQ(LastActivatedWindow(), beta); // the frontmost match
}

TEST_F(X11AutomationTest, OtherVersionIsNotFound) {
    Open("DRM Software Radio 1.9");
    EXPECT_FALSE(ActivateWindow("DRM Software Radio 2."));
}

TEST_F(X11AutomationTest, ExactTitleWinsOverAPrefixInFront) {
    const Window exact = Open("Evaluation");
    Open("Evaluation window in front");
    EXPECT_TRUE(ActivateWindow("Evaluation"));
    EXPECT_EQ(LastActivatedWindow(), exact);
}

TEST_F(X11AutomationTest, OnlyTheFirst259CharactersOfATitleAreCompared) {
    const std::string title(300, 'T');
    const Window w = Open(title + "x");
    EXPECT_TRUE(ActivateWindow(QString::fromStdString(title.substr(0, 259))));
    EXPECT_EQ(LastActivatedWindow(), w);
    EXPECT_FALSE(ActivateWindow(QString::fromStdString(title.substr(0, 260))));
}

TEST_F(X11AutomationTest, ActivatedWindowGetsTheFocusAndTheExactKeyEvents) {
    // A title of this process alone, so no other program's keys aim at it.
    const std::string title = "Key target " + std::to_string(::getpid());
    const Window target = Open(title);
    ASSERT_TRUE(ActivateWindow(QString::fromStdString(title)));
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    EXPECT_EQ(focus, target);

    EXPECT_TRUE(SendKeys("%R{TAB}15", true));
    const std::vector<std::string> expected = {"Alt_L down", "Shift_L down", "r down", "r up", "Shift_L up",
                                               "Alt_L up",   "Tab down",     "Tab up", "1 down", "1 up",
                                               "5 down",     "5 up"};
    EXPECT_EQ(KeyEvents(target, expected.size()), expected);
}

TEST_F(X11AutomationTest, NumLockKeyTogglesTheNumLockState) {
    const unsigned mask = XkbKeysymToModifiers(display, XK_Num_Lock);
    ASSERT_NE(mask, 0u);
    auto locked = [&] {
        XkbStateRec state{};
        XkbGetState(display, XkbUseCoreKbd, &state);
        return (state.locked_mods & mask) != 0;
    };
    const bool before = locked();
    EXPECT_TRUE(SendKeys("{NUMLOCK}", false));
    XSync(display, False);
    EXPECT_NE(locked(), before);
    EXPECT_TRUE(SendKeys("{numlock}", false));
    XSync(display, False);
    EXPECT_EQ(locked(), before);
}

TEST_F(X11AutomationTest, KeyStringErrorsGoToTheSendKeysBox) {
    std::vector<std::string> boxes;
    SetSendKeysMessageBox([&](const QString &caption, const QString &text) {
        boxes.push_back(caption.toStdString() + ": " + text.toStdString());
    });
    const std::string title = "Error target " + std::to_string(::getpid());
    const Window target = Open(title);
    ASSERT_TRUE(ActivateWindow(QString::fromStdString(title)));
    EXPECT_FALSE(SendKeys("", false));
    EXPECT_TRUE(SendKeys("{NOKEY}1", false));
    EXPECT_FALSE(SendKeys("2{TAB", false));
    SetSendKeysMessageBox({});
    EXPECT_EQ(boxes, (std::vector<std::string>{"SendKeys: Invalid Key Name", "SendKeys: No Close"}));
    EXPECT_EQ(KeyEvents(target, 4), (std::vector<std::string>{"1 down", "1 up", "2 down", "2 up"}));
}

TEST_F(X11AutomationTest, FhGStartLogTypesItsSequenceIntoTheDecoderWindow) {
    const Window decoder = Open("DRM Software Radio 2.1");
    FhGStartLog("15440");
    std::vector<std::string> expected = {"Alt_L down", "Shift_L down", "r down", "r up", "Shift_L up", "Alt_L up"};
    for (const char *digit : {"1", "5", "4", "4", "0"}) {
        expected.push_back(std::string(digit) + " down");
        expected.push_back(std::string(digit) + " up");
    }
    for (const char *key : {"Alt_L down", "Shift_L down", "s down", "s up", "Shift_L up", "Alt_L up"})
        expected.push_back(key);
    EXPECT_EQ(KeyEvents(decoder, expected.size()), expected);
}

TEST_F(X11AutomationTest, WithoutTheDecoderWindowTheFocusedWindowGetsNoKeys) {
    const std::string title = "Focused bystander " + std::to_string(::getpid());
    const Window bystander = Open(title);
    ASSERT_TRUE(ActivateWindow(QString::fromStdString(title)));
    FhGStartLog("15440");
    FhGStopLog();
    EXPECT_EQ(KeyEvents(bystander, 0), std::vector<std::string>{});
}

// A window manager that hands the focus to a window some time after the
// activation request, as desktops do, or never. It runs on a connection and
// a thread of its own while it lives.
class TSlowWindowManager {
public:
    TSlowWindowManager(std::chrono::milliseconds delay, bool grants) : delay_(delay), grants_(grants) {
        display_ = XOpenDisplay(nullptr);
        const Window root = DefaultRootWindow(display_);
        check_ = XCreateSimpleWindow(display_, root, 0, 0, 1, 1, 0, 0, 0);
        const Atom supporting = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
        for (Window w : {root, check_})
            XChangeProperty(display_, w, supporting, XA_WINDOW, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&check_), 1);
        XSelectInput(display_, root, SubstructureRedirectMask);
        XSync(display_, False);
        thread_ = std::thread([this] { Run(); });
    }
    ~TSlowWindowManager() {
        stop_ = true;
        thread_.join();
        XDeleteProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False));
        XDestroyWindow(display_, check_);
        XCloseDisplay(display_);
    }

private:
    void Run() {
        const Atom activate = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
        while (!stop_) {
            if (!XPending(display_)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == MapRequest) XMapWindow(display_, event.xmaprequest.window);
            if (event.type == ClientMessage && event.xclient.message_type == activate && grants_) {
                std::this_thread::sleep_for(delay_);
                XSetInputFocus(display_, event.xclient.window, RevertToParent, CurrentTime);
            }
            XFlush(display_);
        }
    }

    std::chrono::milliseconds delay_;
    bool grants_;
    Display *display_ = nullptr;
    Window check_ = None;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST_F(X11AutomationTest, UnderAWindowManagerTheKeysWaitUntilTheFocusHasArrived) {
    const Window decoder = Open("DRM Software Radio 2.4 " + std::to_string(::getpid()));
    const Window bystander = Open("Focused bystander " + std::to_string(::getpid()));
    XSetInputFocus(display, bystander, RevertToParent, CurrentTime);
    XSync(display, False);
    TSlowWindowManager wm(std::chrono::milliseconds(150), true);
    FhGStopLog();
    const std::vector<std::string> expected = {"Alt_L down", "Shift_L down", "r down", "r up", "Shift_L up", "Alt_L up"};
    EXPECT_EQ(KeyEvents(decoder, expected.size()), expected);
    EXPECT_EQ(KeyEvents(bystander, 0), std::vector<std::string>{});
}

TEST_F(X11AutomationTest, AFocusThatNeverArrivesCountsAsAMissingWindow) {
    Open("DRM Software Radio 2.4 " + std::to_string(::getpid()));
    const Window bystander = Open("Focused bystander " + std::to_string(::getpid()));
    XSetInputFocus(display, bystander, RevertToParent, CurrentTime);
    XSync(display, False);
    TSlowWindowManager wm(std::chrono::milliseconds(0), false);
    EXPECT_FALSE(ActivateWindow("DRM Software Radio 2."));
    FhGStopLog();
    EXPECT_EQ(KeyEvents(bystander, 0), std::vector<std::string>{});
}

TEST(X11AutomationWithoutDisplay, BothPrimitivesReturnFalse) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            const bool any = ActivateWindow("DRM Software Radio 2.") || SendKeys("%R", true);
            std::exit(any ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace drmq
