// Which Qt platform the program asks for at start: the X11 one wherever an X
// server is named. Main thread, before the QApplication exists.
#pragma once

#include <string>

namespace drmq {

// The value for QT_QPA_PLATFORM, given its current value, DISPLAY and
// WAYLAND_DISPLAY (nullptr when unset): "xcb" when the user chose no platform
// and an X server is named, also in a Wayland session, so that the program's
// own window and a decoder under XWayland share one X server and can be found
// by title. In a Wayland session Wayland stays the fallback ("xcb;wayland"),
// so a stale DISPLAY cannot keep the window from opening. Empty: leave the
// environment as it is.
std::string QtPlatformToRequest(const char *userPlatform, const char *display, const char *waylandDisplay);

// Sets QT_QPA_PLATFORM as QtPlatformToRequest says for this environment.
void RequestQtPlatform();

} // namespace drmq
