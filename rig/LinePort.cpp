#include "rig/LinePort.h"

#include "rig/SerialDevice.h"

#include <sys/ioctl.h>

namespace drmq {

TSerialLinePort::TSerialLinePort(TPortResolver resolver) : resolver_(std::move(resolver)) {}

TSerialLinePort::~TSerialLinePort() { CloseLinePort(); }

void TSerialLinePort::OpenLinePort(const std::string &portName) {
    CloseLinePort();
    int err = 0;
    fd_ = OpenExclusiveDevice(resolver_ ? resolver_(portName) : portName, err);
}

void TSerialLinePort::LineDTR(bool on) {
    int err = 0;
    if (fd_ >= 0) SetModemLine(fd_, TIOCM_DTR, on, err);
}

void TSerialLinePort::LineRTS(bool on) {
    int err = 0;
    if (fd_ >= 0) SetModemLine(fd_, TIOCM_RTS, on, err);
}

void TSerialLinePort::LineBreak(bool on) {
    if (fd_ >= 0) ::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK);
}

void TSerialLinePort::CloseLinePort() {
    CloseDevice(fd_);
    fd_ = -1;
}

} // namespace drmq
