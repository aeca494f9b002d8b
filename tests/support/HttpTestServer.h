// A small HTTP (or HTTPS) server for tests, on 127.0.0.1 only: a thread that
// accepts connections, records each request's bytes and answers with canned
// bytes. Runs on its own thread; the test thread sets replies and reads.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace drmq::test {

// How the server answers one request.
struct THttpCannedReply {
    enum class TAfter {
        Close, // close the connection after the bytes
        Stall, // keep the connection open and send nothing more
        Trickle, // keep sending one byte every TrickleInterval
    };
    std::string Bytes;
    TAfter After = TAfter::Close;
    std::chrono::milliseconds TrickleInterval{50};
};

// A server certificate and its private key, both PEM.
struct TTestCertificate {
    std::string CertificatePem;
    std::string KeyPem;
};

// A self-signed certificate whose subject alternative name is the IP address.
TTestCertificate MakeSelfSignedCertificate(const std::string &ipAddress);

class HttpTestServer {
public:
    // Plain HTTP.
    HttpTestServer();
    // HTTPS with the given identity.
    explicit HttpTestServer(const TTestCertificate &identity);
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer &) = delete;
    HttpTestServer &operator=(const HttpTestServer &) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path (https for a TLS server).
    std::string Url(const std::string &path) const;
    // The exact request the program sends this server for path.
    std::string RequestFor(const std::string &path) const;

    // The reply to every following request for a path not set below.
    void SetReply(const THttpCannedReply &reply);
    void SetReply(const std::string &bytes) { SetReply(THttpCannedReply{bytes}); }
    // The reply to every following request for this path.
    void SetReplyFor(const std::string &path, const std::string &bytes);
    // A complete 200 reply with Content-Length for the body.
    static std::string OkReply(const std::string &body);

    // While held, a request is read and recorded but its answer waits for
    // Release (the reply is chosen then), as from a server that has stalled.
    void Hold();
    void Release();

    // Each request's bytes as received, in order.
    std::vector<std::string> Requests() const;

private:
    struct TTlsServer;
    void Start();
    void Serve();
    void Answer(int fd);

    std::unique_ptr<TTlsServer> tls_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
    THttpCannedReply reply_;
    std::map<std::string, std::string> pathReplies_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Number of file descriptors open in this process, to find leaked sockets.
int OpenDescriptorCount();

// A listener on 127.0.0.1 whose accept queue is full, so that a further
// connection attempt hangs in the connect phase.
class TFullListener {
public:
    TFullListener();
    ~TFullListener();
    int Port() const { return port_; }

private:
    int listenFd_ = -1;
    int fillerFd_ = -1;
    int port_ = 0;
};

} // namespace drmq::test
