#include "logging/DecoderNotice.h"

#include "logging/X11Session.h"

namespace drmq {

TDesktopSession CurrentDesktopSession() {
    TDesktopSession session;
    session.XServer = X11Display() != nullptr;
    session.Display = qEnvironmentVariable("DISPLAY");
    session.Wayland = !qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty();
    return session;
}

QString NoXServerNotice(const TDesktopSession &session) {
    const QString cause = session.Display.isEmpty() ? "No X server (DISPLAY is not set)"
                                                    : "X server " + session.Display + " not reachable";
    return cause + ": the decoder cannot be told to log";
}

QString DecoderWindowMissingNotice(const TDesktopSession &session, const QString &title) {
    // The status bar has room for the title or for the remedy, not for both.
    if (session.Wayland) return "Decoder window not found: start the decoder under XWayland (e.g. QT_QPA_PLATFORM=xcb)";
    return "Decoder window \"" + title + "\" not found: is the decoder running?";
}

} // namespace drmq
