#include "schedule/NetStream.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>
#include <utility>

namespace drmq {

namespace {

// Name resolution cannot be cancelled, so it runs on a thread of its own
// that is left behind when the connect time-out ends the wait.
struct TResolution {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    addrinfo *addresses = nullptr;
    ~TResolution() {
        if (addresses) freeaddrinfo(addresses);
    }
};

// Waits are cut into slices this long, so that a cancel is seen at once.
constexpr auto kCancelSlice = std::chrono::milliseconds(20);

void ThrowIfCancelled(const std::atomic<bool> *cancel) {
    if (cancel && cancel->load()) throw ENetFailure("cancelled");
}

TNetStream::Clock::time_point SliceEnd(TNetStream::Clock::time_point deadline, const std::atomic<bool> *cancel) {
    return cancel ? std::min(deadline, TNetStream::Clock::now() + kCancelSlice) : deadline;
}

std::shared_ptr<TResolution> Resolve(const std::string &host, int port, TNetStream::Clock::time_point deadline,
                                     const std::atomic<bool> *cancel) {
    auto resolution = std::make_shared<TResolution>();
    std::thread([resolution, host, service = std::to_string(port)] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *found = nullptr;
        if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) found = nullptr;
        std::lock_guard lock(resolution->mutex);
        resolution->addresses = found;
        resolution->finished = true;
        resolution->done.notify_all();
    }).detach();
    std::unique_lock lock(resolution->mutex);
    while (!resolution->done.wait_until(lock, SliceEnd(deadline, cancel), [&] { return resolution->finished; })) {
        ThrowIfCancelled(cancel);
        if (TNetStream::Clock::now() >= deadline) throw ENetFailure("name resolution timed out");
    }
    if (!resolution->addresses) throw ENetFailure("host not found");
    return resolution;
}

int MillisecondsUntil(TNetStream::Clock::time_point deadline) {
    // Rounded up, so that a wait never ends just before its deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TNetStream::Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

// Waits for one socket event until the deadline; false on time-out.
bool PollUntil(int fd, short events, TNetStream::Clock::time_point deadline, const std::atomic<bool> *cancel) {
    for (;;) {
        ThrowIfCancelled(cancel);
        pollfd p{fd, events, 0};
        const int n = poll(&p, 1, MillisecondsUntil(SliceEnd(deadline, cancel)));
        if (n > 0) return true;
        if (n == 0 && TNetStream::Clock::now() >= deadline) return false;
        if (n < 0 && errno != EINTR) throw ENetFailure("poll failed");
    }
}

// OpenSSL writes with write(), which raises SIGPIPE when the server has
// gone. The signal is held back on this thread while TLS runs and a pending
// one is taken away again, so the program is not ended by it.
class TSigPipeBlock {
public:
    TSigPipeBlock() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~TSigPipeBlock() {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&previous_, SIGPIPE)) {
            const timespec now{0, 0};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    TSigPipeBlock(const TSigPipeBlock &) = delete;
    TSigPipeBlock &operator=(const TSigPipeBlock &) = delete;

private:
    sigset_t pipe_;
    sigset_t previous_;
};

bool IsAddressLiteral(const std::string &host) {
    in6_addr buffer{};
    return inet_pton(AF_INET, host.c_str(), &buffer) == 1 || inet_pton(AF_INET6, host.c_str(), &buffer) == 1;
}

} // namespace

struct TNetStream::TTls {
    SSL_CTX *context = nullptr;
    SSL *session = nullptr;
    ~TTls() {
        if (session) SSL_free(session);
        if (context) SSL_CTX_free(context);
    }
};

TNetStream::TNetStream(const THttpUrl &url, const THttpOptions &options)
    : stallTimeout_(options.StallTimeout), cancel_(options.Cancel) {
    const auto start = Clock::now();
    requestDeadline_ = start + options.TotalTimeout;
    Connect(url, std::min(start + options.ConnectTimeout, requestDeadline_));
    if (url.Secure) StartTls(url, options);
}

TNetStream::~TNetStream() = default;

TNetStream::TSocket::~TSocket() {
    if (fd >= 0) close(fd);
}

void TNetStream::Connect(const THttpUrl &url, Clock::time_point deadline) {
    const auto resolution = Resolve(url.Host, url.Port, deadline, cancel_);
    for (const addrinfo *a = resolution->addresses; a; a = a->ai_next) {
        // Closed on every way out but success, a cancel included.
        TSocket candidate;
        candidate.fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        const int fd = candidate.fd;
        if (fd < 0) continue;
        bool connected = connect(fd, a->ai_addr, a->ai_addrlen) == 0;
        if (!connected && errno == EINPROGRESS && PollUntil(fd, POLLOUT, deadline, cancel_)) {
            int error = 0;
            socklen_t length = sizeof error;
            connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
        }
        if (connected) {
            socket_.fd = std::exchange(candidate.fd, -1);
            return;
        }
        if (Clock::now() >= deadline) break;
    }
    throw ENetFailure("connection failed");
}

void TNetStream::WaitFor(TWait what) {
    const auto deadline = std::min(Clock::now() + stallTimeout_, requestDeadline_);
    if (!PollUntil(socket_.fd, what == TWait::Readable ? POLLIN : POLLOUT, deadline, cancel_)) throw ENetFailure("timed out");
}

void TNetStream::StartTls(const THttpUrl &url, const THttpOptions &options) {
    tls_ = std::make_unique<TTls>();
    tls_->context = SSL_CTX_new(TLS_client_method());
    if (!tls_->context) throw ENetFailure("TLS unavailable");
    SSL_CTX_set_min_proto_version(tls_->context, TLS1_2_VERSION);
    SSL_CTX_set_verify(tls_->context, SSL_VERIFY_PEER, nullptr);
    if (SSL_CTX_set_default_verify_paths(tls_->context) != 1) throw ENetFailure("no trust store");
    if (!options.ExtraCaFile.empty() &&
        SSL_CTX_load_verify_locations(tls_->context, options.ExtraCaFile.c_str(), nullptr) != 1)
        throw ENetFailure("extra certificates unreadable");
    // Servers that close without a TLS goodbye are common; a body cut short
    // is still caught by its length or chunk framing.
    SSL_CTX_set_options(tls_->context, SSL_OP_IGNORE_UNEXPECTED_EOF);

    tls_->session = SSL_new(tls_->context);
    if (!tls_->session || SSL_set_fd(tls_->session, socket_.fd) != 1) throw ENetFailure("TLS unavailable");
    // The certificate must name the host we asked for.
    if (IsAddressLiteral(url.Host)) {
        if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls_->session), url.Host.c_str()) != 1)
            throw ENetFailure("bad address");
    } else {
        if (SSL_set1_host(tls_->session, url.Host.c_str()) != 1 ||
            SSL_set_tlsext_host_name(tls_->session, url.Host.c_str()) != 1)
            throw ENetFailure("bad host name");
    }
    TlsCall([this] { return SSL_connect(tls_->session); });
    if (SSL_get_verify_result(tls_->session) != X509_V_OK) throw ENetFailure("certificate not trusted");
}

int TNetStream::TlsCall(const std::function<int()> &operation) {
    const TSigPipeBlock noSigPipe;
    for (;;) {
        ERR_clear_error();
        const int result = operation();
        if (result > 0) return result;
        switch (SSL_get_error(tls_->session, result)) {
        case SSL_ERROR_WANT_READ: WaitFor(TWait::Readable); break;
        case SSL_ERROR_WANT_WRITE: WaitFor(TWait::Writable); break;
        case SSL_ERROR_ZERO_RETURN: return 0;
        default: throw ENetFailure("TLS failure");
        }
    }
}

void TNetStream::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t sent = 0;
        if (tls_) {
            sent = static_cast<std::size_t>(TlsCall([&] {
                return SSL_write(tls_->session, bytes.data(), static_cast<int>(bytes.size()));
            }));
            if (sent == 0) throw ENetFailure("connection closed");
        } else {
            const ssize_t n = send(socket_.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n < 0) {
                if (errno == EAGAIN || errno == EWOULDBLOCK) WaitFor(TWait::Writable);
                else if (errno != EINTR) throw ENetFailure("send failed");
                continue;
            }
            sent = static_cast<std::size_t>(n);
        }
        bytes.remove_prefix(sent);
    }
}

std::size_t TNetStream::ReadSome(char *buffer, std::size_t size) {
    if (Clock::now() >= requestDeadline_) throw ENetFailure("request timed out");
    if (tls_) {
        return static_cast<std::size_t>(
            TlsCall([&] { return SSL_read(tls_->session, buffer, static_cast<int>(size)); }));
    }
    for (;;) {
        const ssize_t n = recv(socket_.fd, buffer, size, 0);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno == EAGAIN || errno == EWOULDBLOCK) WaitFor(TWait::Readable);
        else if (errno != EINTR) throw ENetFailure("receive failed");
    }
}

} // namespace drmq
