#include "support/HttpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace drmq::test {

namespace {

constexpr int kPollMs = 20;

// A listening socket on 127.0.0.1 with a port chosen by the system.
int ListenOnLoopback(int backlog, int &port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), length) != 0 || listen(fd, backlog) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        close(fd);
        throw std::runtime_error("listen failed");
    }
    port = ntohs(address.sin_port);
    return fd;
}

std::string BioText(BIO *bio) {
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return std::string(data, static_cast<std::size_t>(size));
}

// Reading and writing one accepted connection, plain or TLS.
struct TConnection {
    std::function<long(char *, std::size_t)> Read;
    std::function<long(const char *, std::size_t)> Write;
};

} // namespace

TTestCertificate MakeSelfSignedCertificate(const std::string &ipAddress) {
    EVP_PKEY *key = EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256");
    X509 *certificate = X509_new();
    unsigned char serial[8];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7F;
    BIGNUM *serialNumber = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(serialNumber, X509_get_serialNumber(certificate));
    BN_free(serialNumber);
    X509_set_version(certificate, 2);
    X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 86400);
    X509_set_pubkey(certificate, key);
    X509_NAME *name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("test server"), -1,
                               -1, 0);
    X509_set_issuer_name(certificate, name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    const std::string altName = "IP:" + ipAddress;
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, altName.c_str());
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
    X509_sign(certificate, key, EVP_sha256());

    TTestCertificate result;
    BIO *certificateBio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(certificateBio, certificate);
    result.CertificatePem = BioText(certificateBio);
    BIO_free(certificateBio);
    BIO *keyBio = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(keyBio, key, nullptr, nullptr, 0, nullptr, nullptr);
    result.KeyPem = BioText(keyBio);
    BIO_free(keyBio);
    X509_free(certificate);
    EVP_PKEY_free(key);
    return result;
}

struct HttpTestServer::TTlsServer {
    SSL_CTX *context = nullptr;
    explicit TTlsServer(const TTestCertificate &identity) {
        context = SSL_CTX_new(TLS_server_method());
        BIO *certificateBio = BIO_new_mem_buf(identity.CertificatePem.data(),
                                              static_cast<int>(identity.CertificatePem.size()));
        X509 *certificate = PEM_read_bio_X509(certificateBio, nullptr, nullptr, nullptr);
        BIO *keyBio = BIO_new_mem_buf(identity.KeyPem.data(), static_cast<int>(identity.KeyPem.size()));
        EVP_PKEY *key = PEM_read_bio_PrivateKey(keyBio, nullptr, nullptr, nullptr);
        const bool ok = certificate && key && SSL_CTX_use_certificate(context, certificate) == 1 &&
                        SSL_CTX_use_PrivateKey(context, key) == 1;
        X509_free(certificate);
        EVP_PKEY_free(key);
        BIO_free(certificateBio);
        BIO_free(keyBio);
        if (!ok) {
            SSL_CTX_free(context);
            throw std::runtime_error("test certificate unusable");
        }
    }
    ~TTlsServer() { SSL_CTX_free(context); }
};

HttpTestServer::HttpTestServer() {
    Start();
}

HttpTestServer::HttpTestServer(const TTestCertificate &identity) : tls_(std::make_unique<TTlsServer>(identity)) {
    Start();
}

void HttpTestServer::Start() {
    listenFd_ = ListenOnLoopback(16, port_);
    thread_ = std::thread([this] { Serve(); });
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    thread_.join();
    close(listenFd_);
}

std::string HttpTestServer::Url(const std::string &path) const {
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

std::string HttpTestServer::RequestFor(const std::string &path) const {
    return "GET " + path + " HTTP/1.1\r\n"
           "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n"
           "Accept: text/html, */*\r\n"
           "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
           "\r\n";
}

void HttpTestServer::SetReply(const THttpCannedReply &reply) {
    std::lock_guard lock(mutex_);
    reply_ = reply;
}

void HttpTestServer::SetReplyFor(const std::string &path, const std::string &bytes) {
    std::lock_guard lock(mutex_);
    pathReplies_[path] = bytes;
}

std::string HttpTestServer::OkReply(const std::string &body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

void HttpTestServer::Hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
}

void HttpTestServer::Release() {
    std::lock_guard lock(mutex_);
    held_ = false;
    released_.notify_all();
}

std::vector<std::string> HttpTestServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void HttpTestServer::Serve() {
    // Writing to a client that went away raises SIGPIPE on this thread;
    // blocked here, it stays pending and harmless.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) continue;
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        // A misbehaving client must not hold the server for ever.
        timeval limit{5, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        Answer(fd);
        close(fd);
    }
}

void HttpTestServer::Answer(int fd) {
    SSL *session = nullptr;
    TConnection connection;
    if (tls_) {
        session = SSL_new(tls_->context);
        SSL_set_fd(session, fd);
        if (SSL_accept(session) != 1) {
            SSL_free(session);
            ERR_clear_error();
            return;
        }
        connection.Read = [session](char *b, std::size_t n) { return long(SSL_read(session, b, int(n))); };
        connection.Write = [session](const char *b, std::size_t n) { return long(SSL_write(session, b, int(n))); };
    } else {
        connection.Read = [fd](char *b, std::size_t n) { return long(recv(fd, b, n, 0)); };
        connection.Write = [fd](const char *b, std::size_t n) { return long(send(fd, b, n, MSG_NOSIGNAL)); };
    }

    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const long n = connection.Read(buffer, sizeof buffer);
        if (n <= 0) break;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    THttpCannedReply reply;
    {
        std::unique_lock lock(mutex_);
        requests_.push_back(request);
        while (held_ && !stopping_) released_.wait_for(lock, std::chrono::milliseconds(kPollMs));
        reply = reply_;
        // "GET <path> HTTP/1.1"
        const std::size_t pathStart = request.find(' ') + 1;
        const auto found = pathReplies_.find(request.substr(pathStart, request.find(' ', pathStart) - pathStart));
        if (pathStart > 0 && found != pathReplies_.end()) reply = THttpCannedReply{found->second};
    }
    for (std::size_t sent = 0; sent < reply.Bytes.size();) {
        const long n = connection.Write(reply.Bytes.data() + sent, reply.Bytes.size() - sent);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    using TAfter = THttpCannedReply::TAfter;
    const auto pause = reply.After == TAfter::Trickle ? reply.TrickleInterval : std::chrono::milliseconds(kPollMs);
    while (reply.After != TAfter::Close && !stopping_) {
        std::this_thread::sleep_for(pause);
        if (reply.After == TAfter::Trickle && connection.Write("x", 1) <= 0) break;
        // A client that gave up has closed its end.
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLIN))) {
            char probe;
            if (recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT) <= 0) break;
        }
    }
    if (session) {
        SSL_shutdown(session);
        SSL_free(session);
    }
}

int OpenDescriptorCount() {
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

TFullListener::TFullListener() {
    listenFd_ = ListenOnLoopback(0, port_);
    // With a backlog of 0 one pending connection fills the queue; the
    // kernel then drops further attempts, which wait in connect.
    fillerFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    if (connect(fillerFd_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        throw std::runtime_error("filler connection failed");
}

TFullListener::~TFullListener() {
    close(fillerFd_);
    close(listenFd_);
}

} // namespace drmq::test
