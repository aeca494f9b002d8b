#include "logging/X11Session.h"

namespace drmq {

namespace {
Display *gDisplay = nullptr;
bool gErrorSeen = false;

int RecordError(Display *, XErrorEvent *) {
    gErrorSeen = true;
    return 0;
}
} // namespace

Display *X11Display() {
    // A failed attempt is retried on the next use: the X server may come later.
    if (!gDisplay) gDisplay = XOpenDisplay(nullptr);
    return gDisplay;
}

TX11ErrorTrap::TX11ErrorTrap(Display *display) : display_(display) {
    XSync(display_, False);
    outerSeen_ = gErrorSeen;
    gErrorSeen = false;
    previous_ = XSetErrorHandler(RecordError);
}

TX11ErrorTrap::~TX11ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
    gErrorSeen = outerSeen_;
}

bool TX11ErrorTrap::Failed() {
    XSync(display_, False);
    return gErrorSeen;
}

} // namespace drmq
