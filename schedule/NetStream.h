// One client connection for one HTTP request: TCP to host:port, wrapped in
// TLS (certificate and host name verified) for https. Every wait is bounded
// by the request's time-outs and ends early on its cancel flag. Used on one
// thread, the caller's.
#pragma once

#include "schedule/HttpGet.h"
#include "schedule/HttpUrl.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace drmq {

// A network failure or time-out; HttpGetText turns it into the empty text.
class ENetFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TNetStream {
public:
    using Clock = std::chrono::steady_clock;

    // Resolves, connects and (for https) completes the TLS handshake.
    TNetStream(const THttpUrl &url, const THttpOptions &options);
    ~TNetStream();
    TNetStream(const TNetStream &) = delete;
    TNetStream &operator=(const TNetStream &) = delete;

    void WriteAll(std::string_view bytes);
    // Returns 0 when the server has closed the connection.
    std::size_t ReadSome(char *buffer, std::size_t size);

private:
    struct TTls;
    enum class TWait { Readable, Writable };

    void Connect(const THttpUrl &url, Clock::time_point deadline);
    void StartTls(const THttpUrl &url, const THttpOptions &options);
    // Waits until the socket is ready, at most the stall time-out and never
    // past the end of the whole request.
    void WaitFor(TWait what);
    // Runs one TLS operation, waiting whenever it needs the socket.
    int TlsCall(const std::function<int()> &operation);

    // Owns the socket, so that it is closed also when the constructor fails.
    struct TSocket {
        int fd = -1;
        ~TSocket();
    };

    TSocket socket_;
    std::unique_ptr<TTls> tls_; // released before the socket closes
    std::chrono::milliseconds stallTimeout_;
    Clock::time_point requestDeadline_;
    const std::atomic<bool> *cancel_;
};

} // namespace drmq
