#include "logging/DesktopAutomation.h"

// Qt before Xlib: Xlib's macros (None, Bool, Status) break Qt's headers.
#include <QCoreApplication>
#include <QMessageBox>

#include "logging/DreamFiles.h"
#include "logging/KeyPlayer.h"
#include "logging/KeyString.h"
#include "logging/X11Keyboard.h"
#include "logging/X11Session.h"
#include "logging/X11Windows.h"

namespace drmq {

namespace {
const char *const kSendKeysCaption = "SendKeys";
constexpr std::chrono::milliseconds kFocusWait{500};

// The one remembered window, shared by every activation.
Window gLastWindow = None;
std::function<void(const QString &, const QString &)> gMessageBox;

void ShowSendKeysMessage(const QString &text) {
    if (gMessageBox) return gMessageBox(kSendKeysCaption, text);
    QMessageBox box(QMessageBox::NoIcon, kSendKeysCaption, text, QMessageBox::Ok);
    box.exec();
}
} // namespace

bool ActivateWindow(const QString &title) {
    Display *display = X11Display();
    if (!display) return false;
    const Window window = FindTopLevelWindow(display, title);
    if (window == None) return false;
    gLastWindow = window;
    // Keys sent before the focus has arrived would reach the window that
    // still has it; a window that never gets it counts as not found.
    return RaiseAndFocus(display, window) && WaitForFocus(display, window, kFocusWait);
}

TFoundWindow FindWindow(const QString &title) {
    Display *display = X11Display();
    if (!display) return {};
    const Window window = FindTopLevelWindow(display, title);
    if (window == None) return {};
    return {true, ProcessFolder(WindowProcess(display, window)), WindowTitle(display, window)};
}

unsigned long LastActivatedWindow() { return gLastWindow; }

bool SendKeys(const QString &keys, bool wait) {
    Display *display = X11Display();
    if (!display || keys.isEmpty() || !TX11Keyboard::Available(display)) return false;
    TX11Keyboard keyboard(display);
    const TKeyPlayback playback{keyboard, ShowSendKeysMessage, [] { QCoreApplication::processEvents(); }, wait};
    return PlayKeySteps(ParseKeyString(keys), playback);
}

void SetSendKeysMessageBox(std::function<void(const QString &, const QString &)> show) {
    gMessageBox = std::move(show);
}

} // namespace drmq
