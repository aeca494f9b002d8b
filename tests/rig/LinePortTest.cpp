// The bare line control on a pseudo-terminal and its recording stand-in.
#include "support/LinePortRecorder.h"
#include "support/PtyPair.h"
#include "rig/LinePort.h"

#include <gtest/gtest.h>

#include <termios.h>

namespace drmq::test {
namespace {

TEST(LinePortTest, OpensExclusivelyAndReleasesOnClose) {
    TPtyPair pty;
    TSerialLinePort first;
    TSerialLinePort second;
    first.OpenLinePort(pty.DevicePath());
    EXPECT_TRUE(first.LineOpen());
    second.OpenLinePort(pty.DevicePath());
    EXPECT_FALSE(second.LineOpen());
    first.CloseLinePort();
    EXPECT_FALSE(first.LineOpen());
    second.OpenLinePort(pty.DevicePath());
    EXPECT_TRUE(second.LineOpen());
}

TEST(LinePortTest, ResolvesPortNamesThroughTheResolver) {
    TPtyPair pty;
    std::string asked;
    TSerialLinePort lines([&](const std::string &name) {
        asked = name;
        return pty.DevicePath();
    });
    lines.OpenLinePort("COM3");
    EXPECT_EQ(asked, "COM3");
    EXPECT_TRUE(lines.LineOpen());
}

TEST(LinePortTest, FailuresAreSilent) {
    TSerialLinePort lines;
    lines.OpenLinePort("/dev/no-such-serial-device");
    EXPECT_FALSE(lines.LineOpen());
    EXPECT_NO_THROW({
        lines.LineDTR(true);
        lines.LineRTS(false);
        lines.LineBreak(true);
        lines.LineBreak(false);
        lines.CloseLinePort();
    });
}

TEST(LinePortTest, LeavesTheLineSettingsAsTheDriverHasThem) {
    TPtyPair pty;
    termios before{};
    tcgetattr(pty.FarFd(), &before);
    TSerialLinePort lines;
    lines.OpenLinePort(pty.DevicePath());
    lines.LineDTR(true);
    lines.LineBreak(true);
    lines.LineBreak(false);
    termios after{};
    tcgetattr(pty.FarFd(), &after);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
}

TEST(LinePortTest, RecorderKeepsTheOrderAndMarksChangesWithoutAPort) {
    TLinePortRecorder lines;
    lines.LineDTR(true);
    lines.OpenLinePort("COM2");
    lines.LineDTR(true);
    lines.LineRTS(false);
    lines.LineBreak(true);
    lines.CloseLinePort();
    lines.FailOpen = true;
    lines.OpenLinePort("COM2");
    lines.LineBreak(false);
    const std::vector<std::string> expected = {"!DTR 1", "open COM2", "DTR 1", "RTS 0", "BRK 1",
                                               "close",  "!open COM2", "!BRK 0"};
    EXPECT_EQ(lines.Events, expected);
}

} // namespace
} // namespace drmq::test
