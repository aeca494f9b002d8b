// TShareServer: serves the receiver to Hamlib programs (rigctld's protocol)
// on a TCP port. Its own thread owns the sockets and answers from the
// snapshot the UI thread publishes; tunings wait until the UI thread takes
// them. Start, Stop, Publish, TakeTune and TuneDone are the UI thread's; the
// events are called on the server thread.
#pragma once

#include "rig/RigctlProtocol.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace drmq {

class TShareServer {
public:
    struct TEvents {
        // A tuning waits for TakeTune; called once until it is taken.
        std::function<void()> TuneWaiting;
        // The number of connected clients changed.
        std::function<void(int clients)> ClientsChanged;
    };
    struct TTune {
        int Khz = 0;
        std::uint64_t Ticket = 0;
    };

    // Clients beyond this are hung up on at once.
    static constexpr int kMaxClients = 16;
    // A longer request line is dropped and answered as an invalid one.
    static constexpr std::size_t kMaxLine = 1024;
    // Answers a client has not read yet; past this its requests wait.
    static constexpr std::size_t kMaxUnsent = 64 * 1024;
    // A tuning the UI thread has not answered by then is reported as timed out.
    static constexpr std::chrono::milliseconds kTuneTimeout{1500};

    explicit TShareServer(TEvents events);
    ~TShareServer();
    TShareServer(const TShareServer &) = delete;
    TShareServer &operator=(const TShareServer &) = delete;

    // Listens on address:port (0: a free port) and starts serving. Returns
    // why it cannot (the port taken, say); empty on success.
    std::string Start(const std::string &address, int port);
    // Hangs up on every client and stops listening.
    void Stop();
    bool Running() const { return thread_.joinable(); }
    // The port listened on; 0 while not running.
    int Port() const { return port_; }

    void Publish(const TShareSnapshot &snapshot);
    // The newest tuning waiting, if any; its ticket goes back with TuneDone.
    // One is taken at a time, and the next not before as long again as the
    // last one took; tunings waiting meanwhile are replaced by the newest.
    std::optional<TTune> TakeTune();
    // The result code of the tuning taken (kRigOk or a TRigctlError) for its
    // client and every client whose tuning it replaced.
    void TuneDone(std::uint64_t ticket, int code);

    // What the server thread shares with the UI thread (defined with the code).
    struct TShared;

private:
    static void Run(const std::shared_ptr<TShared> &shared);

    TEvents events_;
    std::shared_ptr<TShared> shared_;
    std::thread thread_;
    int port_ = 0;
};

} // namespace drmq
