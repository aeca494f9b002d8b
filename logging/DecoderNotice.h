// Whether this desktop session lets the program reach the decoder's window by
// X11 keys, and the status texts that tell the listener when it cannot. UI thread.
#pragma once

#include <QString>

namespace drmq {

struct TDesktopSession {
    bool XServer = false; // the program's X connection is open
    QString Display;      // DISPLAY, empty when unset
    bool Wayland = false; // WAYLAND_DISPLAY is set: native windows there are out of X11's reach
};

// Reads the environment and tries the X connection.
TDesktopSession CurrentDesktopSession();

// Why nothing is sent to the decoder in a session without an X server.
QString NoXServerNotice(const TDesktopSession &session);
// A sequence found no window with the decoder's title; in a Wayland session
// the decoder has to run under XWayland to be found.
QString DecoderWindowMissingNotice(const TDesktopSession &session, const QString &title);

} // namespace drmq
