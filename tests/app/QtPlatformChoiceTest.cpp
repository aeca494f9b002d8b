// The Qt platform asked for at start: X11 wherever an X server is named,
// unless the user chose one.
#include "app/QtPlatformChoice.h"

#include <gtest/gtest.h>

namespace drmq {
namespace {

TEST(QtPlatformChoiceTest, XcbWhereAnXServerIsNamedAndTheUserChoseNothing) {
    EXPECT_EQ(QtPlatformToRequest(nullptr, ":0", nullptr), "xcb");
    EXPECT_EQ(QtPlatformToRequest("", ":0", ""), "xcb");
    EXPECT_EQ(QtPlatformToRequest("offscreen", ":0", nullptr), "");
    EXPECT_EQ(QtPlatformToRequest("wayland", ":0", "wayland-0"), "");
    EXPECT_EQ(QtPlatformToRequest(nullptr, nullptr, "wayland-0"), "");
    EXPECT_EQ(QtPlatformToRequest(nullptr, "", nullptr), "");
}

TEST(QtPlatformChoiceTest, WaylandStaysTheFallbackInAWaylandSession) {
    // A DISPLAY left over from an X session must not keep the window from opening.
    EXPECT_EQ(QtPlatformToRequest(nullptr, ":0", "wayland-0"), "xcb;wayland");
}

} // namespace
} // namespace drmq
