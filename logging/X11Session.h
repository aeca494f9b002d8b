// The program's own Xlib connection for windows and keys, opened on first use
// from DISPLAY (none without an X server, e.g. Wayland-only). UI thread.
#pragma once

#include <X11/Xlib.h>

namespace drmq {

// The connection, or nullptr when no X display can be reached.
Display *X11Display();

// Catches the X errors of the requests made while it lives, instead of the
// default handler that would end the program.
class TX11ErrorTrap {
public:
    explicit TX11ErrorTrap(Display *display);
    ~TX11ErrorTrap();
    TX11ErrorTrap(const TX11ErrorTrap &) = delete;
    TX11ErrorTrap &operator=(const TX11ErrorTrap &) = delete;
    // Waits for the server to answer every request so far; true if one failed.
    bool Failed();

private:
    Display *display_;
    int (*previous_)(Display *, XErrorEvent *);
    bool outerSeen_; // errors of an enclosing trap, kept apart from ours
};

} // namespace drmq
