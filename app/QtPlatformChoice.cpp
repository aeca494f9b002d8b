#include "app/QtPlatformChoice.h"

#include <cstdlib>

namespace drmq {

namespace {
bool Named(const char *value) { return value && *value; }
} // namespace

std::string QtPlatformToRequest(const char *userPlatform, const char *display, const char *waylandDisplay) {
    // An empty value is no choice: Qt itself treats it as unset.
    if (Named(userPlatform) || !Named(display)) return {};
    return Named(waylandDisplay) ? "xcb;wayland" : "xcb";
}

void RequestQtPlatform() {
    const std::string platform = QtPlatformToRequest(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (!platform.empty()) setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
}

} // namespace drmq
