#include "support/X11TestDesk.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace drmq::test {

TX11TestDesk::TX11TestDesk() : display_(XOpenDisplay(nullptr)) {}

TX11TestDesk::~TX11TestDesk() {
    if (!display_) return;
    for (Window w : windows_) XDestroyWindow(display_, w);
    XCloseDisplay(display_);
}

Window TX11TestDesk::Open(const std::string &title) {
    Window w = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 10, 10, 200, 100, 0, 0, 0);
    XStoreName(display_, w, title.c_str());
    XChangeProperty(display_, w, XInternAtom(display_, "_NET_WM_NAME", False),
                    XInternAtom(display_, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(title.data()), int(title.size()));
    XSelectInput(display_, w, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapRaised(display_, w);
    XEvent event;
    XWindowEvent(display_, w, StructureNotifyMask, &event); // wait for the map
    while (event.type != MapNotify) XWindowEvent(display_, w, StructureNotifyMask, &event);
    windows_.push_back(w);
    return w;
}

void TX11TestDesk::Close(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

std::vector<std::string> TX11TestDesk::KeyEvents(Window window, std::size_t expected) {
    std::vector<std::string> got;
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::seconds(3);
    bool graceStarted = false;
    while (Clock::now() < deadline) {
        if (got.size() >= expected && !graceStarted) {
            graceStarted = true;
            deadline = Clock::now() + std::chrono::milliseconds(200);
        }
        XEvent event;
        if (!XCheckWindowEvent(display_, window, KeyPressMask | KeyReleaseMask, &event)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        const KeySym keysym = XLookupKeysym(&event.xkey, 0);
        got.push_back(std::string(XKeysymToString(keysym)) + (event.type == KeyPress ? " down" : " up"));
    }
    return got;
}

} // namespace drmq::test
