// Test helper: the tests' own X connection with windows made by Xlib and the
// key events they receive. Test thread.
#pragma once

#include <string>
#include <vector>

// After gtest and Qt: Xlib's None macro clashes with both.
#include <X11/Xlib.h>

namespace drmq::test {

class TX11TestDesk {
public:
    // Connected() tells whether there is an X server (DISPLAY set and reachable).
    TX11TestDesk();
    ~TX11TestDesk();
    TX11TestDesk(const TX11TestDesk &) = delete;
    TX11TestDesk &operator=(const TX11TestDesk &) = delete;

    bool Connected() const { return display_ != nullptr; }
    Display *XDisplay() const { return display_; }

    // A mapped top-level window with both kinds of title; newer ones lie on
    // top. It is destroyed with the desk or by Close.
    Window Open(const std::string &title);
    void Close(Window window);
    // The key events that reached the window, as "keysym down/up" on the
    // unshifted level: the expected number, plus any that follow shortly.
    std::vector<std::string> KeyEvents(Window window, std::size_t expected);

private:
    Display *display_ = nullptr;
    std::vector<Window> windows_;
};

} // namespace drmq::test
