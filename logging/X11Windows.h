// Finding and activating top-level X11 windows by title: exact title first,
// then a case-insensitive prefix, front to back. UI thread.
#pragma once

#include <QString>

#include <X11/Xlib.h>

#include <chrono>
#include <vector>

namespace drmq {

// Top-level client windows, frontmost first.
std::vector<Window> TopLevelWindows(Display *display);
// The title (EWMH name, else WM_NAME); empty when there is none.
QString WindowTitle(Display *display, Window window);
// The first window titled exactly title, else the first whose title (its
// first 259 characters) begins with title in any letter case; None if none.
Window FindTopLevelWindow(Display *display, const QString &title);
// The process that made the window (its _NET_WM_PID), 0 when unknown.
long WindowProcess(Display *display, Window window);
// Restores, raises and focuses the window: through the window manager's
// active-window request, or directly where no window manager runs.
// False when the server reports an error.
bool RaiseAndFocus(Display *display, Window window);
// Whether the keyboard focus is on the window or inside it.
bool HasFocus(Display *display, Window window);
// Waits until the focus has arrived in the window, at most limit; a window
// manager hands it over some time after the request.
bool WaitForFocus(Display *display, Window window, std::chrono::milliseconds limit);

} // namespace drmq
