// TComPort on POSIX termios. The UI thread opens, writes, reads and closes;
// one event thread per open port moves arriving bytes into the receive
// buffer and hands each arrival synchronously to the UI thread.
#include "rig/ComPort.h"

#include "rig/RxBuffer.h"
#include "rig/SerialDevice.h"
#include "rig/UiHandOver.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace drmq {

namespace {
const char *const kOpenFailed = "Unable to open com port";
const char *const kWriteFailed = "WriteFile function failed";
const char *const kReadFailed = "ReadFile function failed";
const char *const kPurgeFailed = "PurgeComm function failed";
const char *const kStateFailed = "SetCommState function failed";
const char *const kCountFailed = "ClearCommError function failed";
const char *const kEscapeFailed = "EscapeCommFunction function failed";

const char *const kHungUp = "line hung up";

[[noreturn]] void Raise(int code, const char *message, int err) {
    throw EComPort(code, WithErrorCode(message, err), err);
}

// A device that has gone away (unplugged adapter, hung-up terminal).
bool DeviceGone(int err) {
    return err == EIO || err == ENODEV || err == ENXIO;
}
} // namespace

bool EComPort::LineGone() const {
    return DeviceGone(errno_);
}

struct TComPort::Impl {
    TPortResolver resolver;
    std::string port = "COM1";
    TBaudRate baud = br9600;
    TStopBits stop = sbOneStopBit;
    bool discardNull = false;
    bool parityCheck = false;
    TDTRFlowControl dtrMode = dtrDisable;
    TRTSFlowControl rtsMode = rtsDisable;

    int fd = -1;
    int wakeFd = -1; // eventfd: stop request or room in the receive buffer
    std::thread eventThread;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> actionFailed{false};
    THandOver handOver;

    // Shared with the event thread.
    std::mutex rxMutex;
    TRxBuffer rx;
    bool handshakeOn = true;
    bool dtrDriven = false;   // DriveDTR state under dtrDisable
    bool noModemLines = false; // pseudo-terminals have no DTR/RTS

    std::string DevicePath() const { return resolver ? resolver(port) : port; }
    TLineSettings LineSettings() const { return {int(baud), stop == sbTwoStopBits, parityCheck}; }

    // Drives DTR and RTS as their modes say; call with rxMutex held.
    // Returns 0 or the errno of a failed switch.
    int ApplyModemLines() {
        if (noModemLines) return 0;
        const bool dtr = dtrMode == dtrHandshake ? handshakeOn : dtrDriven;
        const bool rts = rtsMode == rtsHandshake && handshakeOn;
        for (auto [line, on] : {std::pair{TIOCM_DTR, dtr}, std::pair{TIOCM_RTS, rts}}) {
            int err = 0;
            switch (SetModemLine(fd, line, on, err)) {
            case TLineResult::Done: break;
            case TLineResult::NoModemLines: noModemLines = true; return 0;
            case TLineResult::Failed: return err;
            }
        }
        return 0;
    }

    // Follows the buffer level with the handshake lines; rxMutex held.
    void UpdateHandshake() {
        const bool on = rx.HandshakeLine(handshakeOn);
        if (on == handshakeOn) return;
        handshakeOn = on;
        if (dtrMode == dtrHandshake || rtsMode == rtsHandshake) ApplyModemLines();
    }

    void Wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = ::write(wakeFd, &one, sizeof one);
    }

    // Ends the event thread (serving its hand-over) and closes the device.
    void StopAndClose();
    void EventLoop(TComPort *owner);
    // Reads what the driver holds into the receive buffer; returns the count
    // moved, or -1 when the line has gone (with the reason in cause).
    int MoveArrivedBytes(std::string &cause);
    void HandleArrival(TComPort *owner);
    void ReportLineLost(TComPort *owner, const std::string &cause);
};

int TComPort::Impl::MoveArrivedBytes(std::string &cause) {
    std::size_t room;
    {
        std::lock_guard lock(rxMutex);
        room = rx.Room();
    }
    char bytes[TRxBuffer::kCapacity];
    const ssize_t n = ::read(fd, bytes, room);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) return 0;
        cause = WithErrorCode(kReadFailed, errno);
        return -1;
    }
    if (n == 0) { // end of file: the far end has hung up
        cause = kHungUp;
        return -1;
    }
    std::lock_guard lock(rxMutex);
    std::size_t kept = std::size_t(n);
    if (discardNull) {
        kept = 0;
        for (ssize_t i = 0; i < n; ++i)
            if (bytes[i] != '\0') bytes[kept++] = bytes[i];
    }
    rx.Put(bytes, kept);
    UpdateHandshake();
    return int(kept);
}

void TComPort::Impl::HandleArrival(TComPort *owner) {
    handOver.Run([this, owner] {
        try {
            const int count = owner->WaitingCount();
            if (count > 0 && owner->OnRxChar) owner->OnRxChar(count);
        } catch (...) {
            // An error in the received-data action ends the event thread
            // without a message.
            actionFailed = true;
        }
    });
}

void TComPort::Impl::ReportLineLost(TComPort *owner, const std::string &cause) {
    handOver.Run([this, owner, cause] {
        // A close already under way (the window going away) makes the report moot.
        if (stopRequested) return;
        try {
            if (owner->OnLineLost) owner->OnLineLost(cause);
        } catch (...) {
            // The report is all the loss gives; a failing listener changes nothing.
        }
    });
}

void TComPort::Impl::EventLoop(TComPort *owner) {
    bool lineGone = false;
    while (!stopRequested && !actionFailed) {
        bool room;
        {
            std::lock_guard lock(rxMutex);
            room = rx.Room() > 0;
        }
        // A full buffer or a dead line is not watched, so neither spins the
        // thread; taking bytes wakes it again.
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {(room && !lineGone) ? fd : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t value;
            [[maybe_unused]] auto got = ::read(wakeFd, &value, sizeof value);
        }
        if (stopRequested) break;
        int moved = 0;
        std::string cause = kHungUp;
        if (fds[1].revents & POLLIN) moved = MoveArrivedBytes(cause);
        else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) moved = -1;
        if (moved > 0) HandleArrival(owner);
        if (moved < 0) {
            lineGone = true;
            ReportLineLost(owner, cause);
        }
    }
    // On its way out the thread discards what was received. The output is
    // left alone: every write already waited until its bytes had left, and on
    // a virtual line (pty, socat) flushing it would lose the closing command.
    ::tcflush(fd, TCIFLUSH);
    {
        std::lock_guard lock(rxMutex);
        rx.Clear();
        UpdateHandshake();
    }
    handOver.WorkerEnded();
}

TComPort::TComPort() : impl_(new Impl) {}

TComPort::~TComPort() {
    if (Connected()) impl_->StopAndClose();
    delete impl_;
}

void TComPort::SetResolver(TPortResolver resolver) { impl_->resolver = std::move(resolver); }

void TComPort::SetPort(const std::string &name) {
    if (name == impl_->port) return;
    impl_->port = name;
    if (!Connected()) return;
    ClosePort();
    OpenPort();
}

const std::string &TComPort::Port() const { return impl_->port; }

// Stores a property (under the lock the event thread reads it with); a
// changed value re-applies the line settings of an open port.
template <typename T> static bool Changed(std::mutex &mutex, T &stored, T value) {
    std::lock_guard lock(mutex);
    if (stored == value) return false;
    stored = value;
    return true;
}

void TComPort::SetBaudRate(TBaudRate rate) {
    if (Changed(impl_->rxMutex, impl_->baud, rate)) ReapplyLineSettings();
}
TBaudRate TComPort::BaudRate() const { return impl_->baud; }
void TComPort::SetStopBits(TStopBits bits) {
    if (Changed(impl_->rxMutex, impl_->stop, bits)) ReapplyLineSettings();
}
TStopBits TComPort::StopBits() const { return impl_->stop; }
void TComPort::SetDataBits(TDataBits) {} // eight data bits is the only format
void TComPort::SetDiscardNull(bool discard) {
    std::lock_guard lock(impl_->rxMutex); // read by the event thread
    impl_->discardNull = discard;
}
void TComPort::SetParityCheck(bool check) {
    if (Changed(impl_->rxMutex, impl_->parityCheck, check)) ReapplyLineSettings();
}
void TComPort::SetControlDTR(TDTRFlowControl mode) {
    if (Changed(impl_->rxMutex, impl_->dtrMode, mode)) ReapplyLineSettings();
}
TDTRFlowControl TComPort::ControlDTR() const { return impl_->dtrMode; }
void TComPort::SetControlRTS(TRTSFlowControl mode) {
    if (Changed(impl_->rxMutex, impl_->rtsMode, mode)) ReapplyLineSettings();
}
TRTSFlowControl TComPort::ControlRTS() const { return impl_->rtsMode; }

bool TComPort::Connected() const { return impl_->fd >= 0; }

void TComPort::ReapplyLineSettings() {
    if (!Connected()) return;
    int err = ApplyLineSettings(impl_->fd, impl_->LineSettings());
    if (err == 0) {
        std::lock_guard lock(impl_->rxMutex);
        err = impl_->ApplyModemLines();
    }
    if (err != 0) Raise(7, kStateFailed, err);
}

void TComPort::OpenPort() {
    if (Connected()) return;
    int err = 0;
    const int fd = OpenExclusiveDevice(impl_->DevicePath(), err);
    if (fd < 0) Raise(1, kOpenFailed, err);
    impl_->fd = fd;
    impl_->noModemLines = false;
    impl_->dtrDriven = false;
    impl_->handshakeOn = true;
    impl_->rx.Clear();
    try {
        ReapplyLineSettings();
    } catch (const EComPort &) {
        CloseDevice(fd);
        impl_->fd = -1;
        throw;
    }
    // A fresh port starts with empty queues, like a freshly opened driver.
    ::tcflush(fd, TCIOFLUSH);
    impl_->wakeFd = ::eventfd(0, EFD_CLOEXEC);
    if (impl_->wakeFd < 0) {
        err = errno;
        CloseDevice(fd);
        impl_->fd = -1;
        Raise(1, kOpenFailed, err);
    }
    impl_->stopRequested = false;
    impl_->actionFailed = false;
    impl_->handOver.Reset();
    impl_->eventThread = std::thread([this] { impl_->EventLoop(this); });
}

void TComPort::ClosePort() {
    if (!Connected()) return;
    // Cancels what is still waiting to be read; the output has already left
    // (SendBytes drains it). Nothing is left to cancel on a device that has gone.
    if (::tcflush(impl_->fd, TCIFLUSH) != 0 && !DeviceGone(errno)) Raise(5, kPurgeFailed, errno);
    impl_->StopAndClose();
}

void TComPort::Impl::StopAndClose() {
    stopRequested = true;
    Wake();
    // Called from inside the received-data action: the event thread waits on
    // that very action, so let it go before waiting for it.
    handOver.ReleaseWorkerFromJob();
    handOver.ServeUntilWorkerEnded();
    eventThread.join();
    ::close(wakeFd);
    wakeFd = -1;
    CloseDevice(fd);
    fd = -1;
    std::lock_guard lock(rxMutex);
    rx.Clear();
}

void TComPort::DriveDTR(bool on) {
    if (!Connected()) Raise(12, kEscapeFailed, EBADF);
    std::lock_guard lock(impl_->rxMutex);
    impl_->dtrDriven = on;
    if (impl_->dtrMode == dtrHandshake) return; // the handshake owns the line
    if (const int err = impl_->ApplyModemLines(); err != 0) Raise(12, kEscapeFailed, err);
}

namespace {
using Clock = std::chrono::steady_clock;

// Writes everything or until the deadline; returns the count accepted.
std::size_t WriteUntil(int fd, std::string_view bytes, Clock::time_point deadline) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) Raise(2, kWriteFailed, errno);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) break;
        pollfd out{fd, POLLOUT, 0};
        ::poll(&out, 1, int(left));
    }
    return written;
}

// Bytes still in the output queue, 0 where the device does not say.
int OutputQueued(int fd) {
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : 0;
}
} // namespace

int TComPort::SendBytes(std::string_view bytes) {
    if (!Connected()) Raise(2, kWriteFailed, EBADF);
    if (bytes.empty()) return 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(100 * bytes.size() + 1000);
    const int fd = impl_->fd;
    std::size_t written = WriteUntil(fd, bytes, deadline);
    // Wait until the bytes have left, within the same time-out.
    int queued = OutputQueued(fd);
    while (queued > 0 && Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        queued = OutputQueued(fd);
    }
    if (queued > 0) {
        // Timed out: what has not left is withdrawn and not counted.
        ::tcflush(fd, TCOFLUSH);
        written -= std::min<std::size_t>(written, std::size_t(queued));
    } else {
        ::tcdrain(fd);
    }
    return int(written);
}

int TComPort::ReceiveBytes(std::string &buffer, int n) {
    if (!Connected()) Raise(3, kReadFailed, EBADF);
    bool wasFull;
    {
        std::lock_guard lock(impl_->rxMutex);
        wasFull = impl_->rx.Room() == 0;
        buffer = impl_->rx.Take(n > 0 ? std::size_t(n) : 0);
        impl_->UpdateHandshake();
    }
    if (wasFull && !buffer.empty()) impl_->Wake();
    return int(buffer.size());
}

int TComPort::WaitingCount() {
    if (!Connected()) Raise(10, kCountFailed, EBADF);
    std::lock_guard lock(impl_->rxMutex);
    return int(impl_->rx.Count());
}

} // namespace drmq
