#include "Rigctld.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <fcntl.h>

namespace drmq::test {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kStartBound = std::chrono::seconds(20);
constexpr int kReplyBoundMs = 10000;
constexpr int kAttempts = 3;

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(s);
    return ntohs(address.sin_port);
}

int Connect(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(port);
    if (::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) return s;
    ::close(s);
    return -1;
}
} // namespace

TRigctld::TRigctld() : port_(FreePort()) {
    Launch();
}

TRigctld::~TRigctld() {
    Stop();
}

std::string TRigctld::Address() const {
    return "127.0.0.1:" + std::to_string(port_);
}

void TRigctld::Launch() {
    const std::string port = std::to_string(port_);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // rigctld ends with the test program, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execlp("rigctld", "rigctld", "-m", "1", "-T", "127.0.0.1", "-t", port.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    pid_ = pid;
    const auto deadline = Clock::now() + kStartBound;
    while (Clock::now() < deadline) {
        const int s = Connect(port_);
        if (s >= 0) {
            ::close(s);
            return;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) break; // it could not start
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Stop();
}

void TRigctld::Stop() {
    connection_.reset();
    if (pid_ <= 0) return;
    Thaw();
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}

void TRigctld::Restart() {
    Stop();
    Launch();
}

void TRigctld::Freeze() {
    if (pid_ > 0 && ::kill(pid_, SIGSTOP) == 0) frozen_ = true;
}

void TRigctld::Thaw() {
    if (frozen_ && pid_ > 0) ::kill(pid_, SIGCONT);
    frozen_ = false;
}

TRigctlConnection::TRigctlConnection(int port) : socket_(Connect(port)) {}

TRigctlConnection::~TRigctlConnection() {
    if (socket_ >= 0) ::close(socket_);
}

std::vector<std::string> TRigctlConnection::Ask(const std::string &command, size_t lines) {
    std::vector<std::string> reply;
    if (socket_ < 0) return reply;
    const std::string line = command + "\n";
    if (::send(socket_, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size())) {
        dropped_ = true;
        return reply;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(kReplyBoundMs);
    for (;;) {
        for (size_t end; reply.size() < lines && (end = pending_.find('\n')) != std::string::npos;) {
            reply.push_back(pending_.substr(0, end));
            pending_.erase(0, end + 1);
        }
        if (reply.size() >= lines || Clock::now() >= deadline) return reply;
        pollfd in{socket_, POLLIN, 0};
        if (::poll(&in, 1, 50) <= 0) continue;
        char bytes[512];
        const ssize_t n = ::recv(socket_, bytes, sizeof bytes, 0);
        if (n <= 0) {
            dropped_ = true;
            return reply;
        }
        pending_.append(bytes, static_cast<size_t>(n));
    }
}

std::vector<std::string> TRigctld::Ask(const std::string &command, size_t lines) const {
    std::vector<std::string> reply;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!connection_ || !connection_->Usable()) connection_ = std::make_unique<TRigctlConnection>(port_);
        reply = connection_->Ask(command, lines);
        if (reply.size() >= lines) return reply;
        // A reply still owed would answer the next command: start afresh.
        const bool dropped = connection_->Connected() && !connection_->Usable();
        connection_.reset();
        if (!dropped) break;
    }
    return reply;
}

std::string TRigctld::Frequency() const {
    const auto reply = Ask("f");
    return reply.empty() ? std::string() : reply.front();
}

} // namespace drmq::test
