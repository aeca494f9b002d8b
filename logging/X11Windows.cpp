#include "logging/X11Windows.h"

#include "logging/X11Session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <thread>

namespace drmq {

namespace {
constexpr int kTitleChars = 259;

// A window-sized property (list of windows), or empty.
std::vector<Window> WindowListProperty(Display *display, Window owner, const char *name) {
    const Atom property = XInternAtom(display, name, True);
    if (property == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(display, owner, property, 0, 65536, False, XA_WINDOW, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_WINDOW && format == 32) {
        const auto *ids = reinterpret_cast<const unsigned long *>(data);
        windows.assign(ids, ids + count);
    }
    if (data) XFree(data);
    return windows;
}

// The running window manager's check window, if one runs.
bool WindowManagerRuns(Display *display) {
    const auto check = WindowListProperty(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK");
    if (check.empty()) return false;
    TX11ErrorTrap trap(display);
    XWindowAttributes attributes;
    const bool exists = XGetWindowAttributes(display, check.front(), &attributes) != 0;
    return exists && !trap.Failed();
}

bool Viewable(Display *display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// Without a client list: the root's children, or the titled window inside
// a frame of a window manager that keeps no list.
std::vector<Window> StackedChildren(Display *display) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> windows;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return windows;
    for (unsigned i = count; i-- > 0;) { // the tree lists bottom to top
        if (!Viewable(display, children[i])) continue;
        Window client = children[i];
        if (WindowTitle(display, client).isEmpty()) {
            Window r = 0, p = 0, *inner = nullptr;
            unsigned n = 0;
            if (XQueryTree(display, client, &r, &p, &inner, &n)) {
                for (unsigned j = 0; j < n; ++j)
                    if (!WindowTitle(display, inner[j]).isEmpty()) client = inner[j];
                if (inner) XFree(inner);
            }
        }
        windows.push_back(client);
    }
    if (children) XFree(children);
    return windows;
}

void SendActiveWindowRequest(Display *display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // a request on the user's behalf
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}
} // namespace

std::vector<Window> TopLevelWindows(Display *display) {
    TX11ErrorTrap trap(display); // windows may vanish while they are read
    auto stacking = WindowListProperty(display, DefaultRootWindow(display), "_NET_CLIENT_LIST_STACKING");
    if (stacking.empty()) return StackedChildren(display);
    std::reverse(stacking.begin(), stacking.end());
    return stacking;
}

QString WindowTitle(Display *display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    QString title;
    if (XGetWindowProperty(display, window, netName, 0, 4096, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        type == utf8 && format == 8)
        title = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(count));
    if (data) XFree(data);
    if (!title.isEmpty()) return title;

    XTextProperty text{};
    if (XGetWMName(display, window, &text) && text.value) {
        char **list = nullptr;
        int n = 0;
        if (Xutf8TextPropertyToTextList(display, &text, &list, &n) >= Success && n > 0 && list) {
            title = QString::fromUtf8(list[0]);
            XFreeStringList(list);
        }
        XFree(text.value);
    }
    return title;
}

Window FindTopLevelWindow(Display *display, const QString &title) {
    const auto windows = TopLevelWindows(display);
    TX11ErrorTrap trap(display);
    std::vector<QString> titles;
    for (Window window : windows) titles.push_back(WindowTitle(display, window));
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (titles[i] == title) return windows[i];
    for (std::size_t i = 0; i < windows.size(); ++i)
        if (titles[i].left(kTitleChars).startsWith(title, Qt::CaseInsensitive)) return windows[i];
    return None;
}

long WindowProcess(Display *display, Window window) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None) return 0;
    TX11ErrorTrap trap(display); // the window may vanish while it is read
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        pid = static_cast<long>(*reinterpret_cast<const unsigned long *>(data));
    if (data) XFree(data);
    return trap.Failed() ? 0 : pid;
}

bool HasFocus(Display *display, Window window) {
    TX11ErrorTrap trap(display); // the focus window may vanish while it is read
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    // The focus may sit on the window itself or on a window inside it.
    while (focus != 0 && focus != PointerRoot && focus != window && !trap.Failed()) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, focus, &root, &parent, &children, &count)) return false;
        if (children) XFree(children);
        if (parent == root) return false;
        focus = parent;
    }
    return focus == window && !trap.Failed();
}

bool WaitForFocus(Display *display, Window window, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (HasFocus(display, window)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool RaiseAndFocus(Display *display, Window window) {
    TX11ErrorTrap trap(display);
    XMapRaised(display, window); // restores a minimised window, brings it up
    if (WindowManagerRuns(display)) {
        SendActiveWindowRequest(display, window);
    } else {
        XSync(display, False); // mapped before it can take the focus
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    return !trap.Failed();
}

} // namespace drmq
