#include "rig/ShareServer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <list>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace drmq {

namespace {
using TClock = std::chrono::steady_clock;

struct TClient {
    int Fd = -1;
    std::string In;
    std::string Out;
    // Bytes of an over-long line are dropped up to its end.
    bool Discarding = false;
    // A tuning of this client waits for the UI thread.
    std::optional<TRigctlRequest> Tuning;
    std::uint64_t Ticket = 0;
    TClock::time_point TuningSince;
    bool CloseWhenSent = false;
};

void CloseFd(int &fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}
} // namespace

struct TShareServer::TShared {
    TEvents Events;
    int ListenFd = -1;
    int WakeFd = -1;
    std::atomic<bool> Stopping{false};

    std::mutex Mutex;
    TShareSnapshot Snapshot;
    std::optional<TTune> Pending; // the newest tuning not yet taken
    std::uint64_t LastTicket = 0;
    bool Told = false;    // TuneWaiting called for Pending
    bool Taken = false;   // the UI thread is tuning
    TClock::time_point LastTake{};
    TClock::time_point LastDone{};
    std::vector<std::pair<std::uint64_t, int>> Results;

    void Wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(WakeFd, &one, sizeof one);
    }
};

namespace {
using TShared = TShareServer::TShared;

// Answers the complete lines a client has sent, until one of them is a
// tuning that must wait for the UI thread or the client has too much unread.
void ServeLines(TShared &shared, TClient &client) {
    while (!client.Tuning && !client.CloseWhenSent && client.Out.size() < TShareServer::kMaxUnsent) {
        const size_t end = client.In.find('\n');
        if (end == std::string::npos) {
            if (client.In.size() > TShareServer::kMaxLine) {
                client.Discarding = true;
                client.In.clear();
            }
            return;
        }
        const std::string line = client.In.substr(0, end);
        client.In.erase(0, end + 1);
        if (client.Discarding || line.size() > TShareServer::kMaxLine) {
            client.Discarding = false;
            client.Out += "RPRT " + std::to_string(kRigInvalid) + "\n";
            continue;
        }
        const TRigctlRequest request = ParseRigctlLine(line);
        TShareSnapshot snapshot;
        {
            const std::lock_guard lock(shared.Mutex);
            snapshot = shared.Snapshot;
        }
        const TRigctlAnswer answer = AnswerRigctl(request, snapshot);
        client.Out += answer.Text;
        client.CloseWhenSent = answer.Close;
        if (answer.TuneKhz) {
            const std::lock_guard lock(shared.Mutex);
            client.Ticket = ++shared.LastTicket;
            shared.Pending = TShareServer::TTune{*answer.TuneKhz, client.Ticket};
            client.Tuning = request;
            client.TuningSince = TClock::now();
        }
    }
}

// Tells the UI thread of a waiting tuning unless one is being tuned or the
// last one ended too recently; returns how long to wait before asking again.
std::optional<std::chrono::milliseconds> TellTuneWaiting(TShared &shared) {
    {
        const std::lock_guard lock(shared.Mutex);
        if (!shared.Pending || shared.Told || shared.Taken) return std::nullopt;
        // Remote tunings take at most half of the UI thread's time: the next
        // one waits as long as the last one took (a slow serial line, say).
        const auto pause = shared.LastDone - shared.LastTake;
        const auto since = TClock::now() - shared.LastDone;
        if (since < pause) return std::chrono::ceil<std::chrono::milliseconds>(pause - since);
        shared.Told = true;
    }
    if (shared.Events.TuneWaiting) shared.Events.TuneWaiting();
    return std::nullopt;
}

// Sends what the client has not read yet; false when the client has gone.
bool SendOut(TClient &client) {
    while (!client.Out.empty()) {
        const ssize_t sent = ::send(client.Fd, client.Out.data(), client.Out.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        client.Out.erase(0, static_cast<size_t>(sent));
    }
    return !client.CloseWhenSent;
}

// Reads what has arrived; false when the client has hung up.
bool ReadIn(TClient &client) {
    char buffer[4096];
    const ssize_t got = ::recv(client.Fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    client.In.append(buffer, static_cast<size_t>(got));
    return true;
}
} // namespace

TShareServer::TShareServer(TEvents events) : events_(std::move(events)) {}

TShareServer::~TShareServer() {
    Stop();
}

std::string TShareServer::Start(const std::string &address, int port) {
    Stop();
    if (port < 0 || port > 65535) return address + ":" + std::to_string(port) + ": not a port number";
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    const std::string service = std::to_string(port);
    const std::string where = address + ":" + service;
    if (const int error = ::getaddrinfo(address.empty() ? nullptr : address.c_str(), service.c_str(), &hints, &found))
        return where + ": " + ::gai_strerror(error);
    int listenFd = -1;
    std::string failure;
    for (const addrinfo *a = found; a && listenFd < 0; a = a->ai_next) {
        listenFd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (listenFd < 0) {
            failure = std::strerror(errno);
            continue;
        }
        // A port left by a closed server of this program can be taken again at once.
        const int on = 1;
        ::setsockopt(listenFd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(listenFd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(listenFd, kMaxClients) != 0) {
            failure = std::strerror(errno);
            CloseFd(listenFd);
        }
    }
    ::freeaddrinfo(found);
    if (listenFd < 0) return where + ": " + failure;

    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    ::getsockname(listenFd, reinterpret_cast<sockaddr *>(&bound), &length);
    port_ = ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6 &>(bound).sin6_port
                                               : reinterpret_cast<sockaddr_in &>(bound).sin_port);
    shared_ = std::make_shared<TShared>();
    shared_->Events = events_;
    shared_->ListenFd = listenFd;
    shared_->WakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_ = std::thread(Run, shared_);
    return {};
}

void TShareServer::Stop() {
    if (!thread_.joinable()) return;
    shared_->Stopping = true;
    shared_->Wake();
    thread_.join();
    CloseFd(shared_->ListenFd);
    CloseFd(shared_->WakeFd);
    shared_.reset();
    port_ = 0;
}

void TShareServer::Publish(const TShareSnapshot &snapshot) {
    if (!shared_) return;
    const std::lock_guard lock(shared_->Mutex);
    shared_->Snapshot = snapshot;
}

std::optional<TShareServer::TTune> TShareServer::TakeTune() {
    if (!shared_) return std::nullopt;
    const std::lock_guard lock(shared_->Mutex);
    std::optional<TTune> tune;
    std::swap(tune, shared_->Pending);
    shared_->Told = false;
    if (tune) {
        shared_->Taken = true;
        shared_->LastTake = TClock::now();
    }
    return tune;
}

void TShareServer::TuneDone(std::uint64_t ticket, int code) {
    if (!shared_) return;
    {
        const std::lock_guard lock(shared_->Mutex);
        shared_->Taken = false;
        shared_->LastDone = TClock::now();
        shared_->Results.emplace_back(ticket, code);
    }
    shared_->Wake();
}

void TShareServer::Run(const std::shared_ptr<TShared> &shared) {
    std::list<TClient> clients;
    size_t toldCount = 0;
    std::optional<std::chrono::milliseconds> askAgainIn;
    while (!shared->Stopping) {
        std::vector<pollfd> fds{{shared->WakeFd, POLLIN, 0}, {shared->ListenFd, POLLIN, 0}};
        int timeout = askAgainIn ? static_cast<int>(askAgainIn->count()) : -1;
        const auto now = TClock::now();
        for (TClient &client : clients) {
            short events = 0;
            if (!client.Tuning && !client.CloseWhenSent && client.Out.size() < kMaxUnsent) events |= POLLIN;
            if (!client.Out.empty()) events |= POLLOUT;
            fds.push_back({client.Fd, events, 0});
            if (client.Tuning) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(client.TuningSince + kTuneTimeout - now);
                const int ms = static_cast<int>(std::max<std::int64_t>(0, left.count()));
                timeout = timeout < 0 ? ms : std::min(timeout, ms);
            }
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) break;
        if (shared->Stopping) break;
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const auto got = ::read(shared->WakeFd, &count, sizeof count);
        }

        // Results of the UI thread's tunings go to the clients that asked for them.
        std::vector<std::pair<std::uint64_t, int>> results;
        {
            const std::lock_guard lock(shared->Mutex);
            results.swap(shared->Results);
        }
        for (const auto &[ticket, code] : results) {
            for (TClient &client : clients) {
                if (!client.Tuning || client.Ticket > ticket) continue;
                client.Out += TuneAnswer(*client.Tuning, code);
                client.Tuning.reset();
            }
        }
        for (TClient &client : clients) {
            if (client.Tuning && TClock::now() - client.TuningSince >= kTuneTimeout) {
                client.Out += TuneAnswer(*client.Tuning, kRigTimeout);
                client.Tuning.reset();
            }
        }

        size_t index = 2;
        for (auto it = clients.begin(); it != clients.end(); ++index) {
            TClient &client = *it;
            const short revents = fds[index].revents;
            bool alive = !(revents & (POLLERR | POLLNVAL));
            if (alive && (revents & (POLLIN | POLLHUP))) alive = ReadIn(client);
            if (alive) {
                ServeLines(*shared, client);
                alive = SendOut(client);
                // What was held back for unread answers may go on now.
                ServeLines(*shared, client);
            }
            if (alive) {
                ++it;
            } else {
                ::close(client.Fd);
                it = clients.erase(it);
            }
        }
        if (fds[1].revents & POLLIN) {
            while (true) {
                const int fd = ::accept4(shared->ListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
                if (fd < 0) break;
                if (clients.size() >= static_cast<size_t>(kMaxClients)) {
                    ::close(fd);
                    continue;
                }
                clients.emplace_back().Fd = fd;
            }
        }
        if (clients.size() != toldCount) {
            toldCount = clients.size();
            if (shared->Events.ClientsChanged) shared->Events.ClientsChanged(static_cast<int>(toldCount));
        }
        askAgainIn = TellTuneWaiting(*shared);
    }
    for (TClient &client : clients) ::close(client.Fd);
    if (toldCount != 0 && shared->Events.ClientsChanged) shared->Events.ClientsChanged(0);
}

} // namespace drmq
