#include "rig/SerialDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace drmq {

int OpenExclusiveDevice(const std::string &path, int &err) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return -1;
    }
    // The lock comes first so that a second opener is refused the same way
    // whether it runs as root or not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        err = (errno == EWOULDBLOCK) ? EBUSY : errno;
        ::close(fd);
        return -1;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        err = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

void CloseDevice(int fd) {
    if (fd < 0) return;
    ::ioctl(fd, TIOCNXCL);
    ::close(fd); // also drops the advisory lock
}

namespace {
speed_t SpeedOf(int baud) {
    switch (baud) {
    case 1200: return B1200;
    case 4800: return B4800;
    case 19200: return B19200;
    default: return B9600;
    }
}
} // namespace

int ApplyLineSettings(int fd, const TLineSettings &settings) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return errno;
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD | CS8;
    tio.c_cflag &= ~(PARENB | CRTSCTS);
    if (settings.twoStopBits) tio.c_cflag |= CSTOPB;
    else tio.c_cflag &= ~CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | IGNPAR | PARMRK);
    if (settings.parityCheck) tio.c_iflag |= INPCK;
    else tio.c_iflag &= ~INPCK;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, SpeedOf(settings.baud));
    ::cfsetospeed(&tio, SpeedOf(settings.baud));
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return errno;
    return 0;
}

TLineResult SetModemLine(int fd, int line, bool on, int &err) {
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return TLineResult::Done;
    err = errno;
    if (err == ENOTTY || err == EINVAL) return TLineResult::NoModemLines;
    return TLineResult::Failed;
}

std::string WithErrorCode(const std::string &message, int err) {
    return message + " (win error code: " + std::to_string(err) + ")";
}

} // namespace drmq
