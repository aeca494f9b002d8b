#include "PtyPair.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace drmq::test {

TPtyPair::TPtyPair() {
    far_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (far_ < 0 || ::grantpt(far_) != 0 || ::unlockpt(far_) != 0) throw std::runtime_error("no pseudo-terminal");
    path_ = ::ptsname(far_);
    near_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (near_ < 0) throw std::runtime_error("cannot open " + path_);
    termios tio{};
    ::tcgetattr(near_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(near_, TCSANOW, &tio);
}

TPtyPair::~TPtyPair() {
    if (near_ >= 0) ::close(near_);
    if (far_ >= 0) ::close(far_);
}

std::string TPtyPair::ReadExact(std::size_t n, int timeoutMs) const {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd in{far_, POLLIN, 0};
        if (::poll(&in, 1, int(left)) <= 0 || !(in.revents & POLLIN)) continue;
        char bytes[4096];
        const ssize_t r = ::read(far_, bytes, std::min(sizeof bytes, n - got.size()));
        if (r > 0) got.append(bytes, std::size_t(r));
    }
    return got;
}

std::string TPtyPair::ReadUntilQuiet(int quietMs) const {
    std::string got;
    for (;;) {
        pollfd in{far_, POLLIN, 0};
        if (::poll(&in, 1, quietMs) <= 0 || !(in.revents & POLLIN)) return got;
        char bytes[4096];
        const ssize_t r = ::read(far_, bytes, sizeof bytes);
        if (r <= 0) return got;
        got.append(bytes, std::size_t(r));
    }
}

void TPtyPair::Write(std::string_view bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(far_, bytes.data() + done, bytes.size() - done);
        if (w > 0) done += std::size_t(w);
        else if (errno != EINTR && errno != EAGAIN) throw std::runtime_error("far end write failed");
    }
}

} // namespace drmq::test

namespace drmq::test {

void TPtyPair::FillProgramOutput() const {
    const int flags = ::fcntl(near_, F_GETFL);
    ::fcntl(near_, F_SETFL, flags | O_NONBLOCK);
    const std::string block(4096, 'F');
    // The terminal moves bytes on in the background; fill until a whole
    // round after a pause finds no more room.
    for (bool accepted = true; accepted;) {
        accepted = false;
        while (::write(near_, block.data(), block.size()) > 0) accepted = true;
        ::usleep(20000);
    }
    ::fcntl(near_, F_SETFL, flags);
}

} // namespace drmq::test
