// https against a local TLS server whose self-signed certificate the test
// makes: refused unless trusted, and then only for the address it names.
#include "schedule/HttpGet.h"
#include "support/HttpTestServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace drmq {
namespace {

using test::HttpTestServer;
using test::TTestCertificate;

class HttpTls : public ::testing::Test {
protected:
    // Options that trust the certificate in addition to the system's store.
    THttpOptions Trusting(const TTestCertificate &certificate) {
        const std::string path = dir.path().toStdString() + "/trusted.pem";
        std::ofstream(path, std::ios::binary) << certificate.CertificatePem;
        THttpOptions options;
        options.ExtraCaFile = path;
        return options;
    }
    // Every failure closes its connection: no socket is left open.
    void TearDown() override { EXPECT_EQ(test::OpenDescriptorCount(), descriptorsBefore); }

    const int descriptorsBefore = test::OpenDescriptorCount();
    QTemporaryDir dir;
    TTestCertificate identity = test::MakeSelfSignedCertificate("127.0.0.1");
};

TEST_F(HttpTls, SelfSignedCertificateIsRefused) {
    HttpTestServer server(identity);
    server.SetReply(HttpTestServer::OkReply("secret"));
    EXPECT_EQ(HttpGetText(server.Url("/wwv.txt")), "");
    // The request never left the client.
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpTls, TrustedCertificateGivesTheBody) {
    HttpTestServer server(identity);
    server.SetReply("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n6\r\nsecret\r\n0\r\n\r\n");
    EXPECT_EQ(HttpGetText(server.Url("/text/wwv.txt"), Trusting(identity)), "secret");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], server.RequestFor("/text/wwv.txt"));
}

TEST_F(HttpTls, TrustedCertificateForAnotherAddressIsRefused) {
    const TTestCertificate elsewhere = test::MakeSelfSignedCertificate("127.0.0.2");
    HttpTestServer server(elsewhere);
    server.SetReply(HttpTestServer::OkReply("secret"));
    EXPECT_EQ(HttpGetText(server.Url("/x"), Trusting(elsewhere)), "");
}

TEST_F(HttpTls, TrustingAnotherCertificateDoesNotHelp) {
    HttpTestServer server(identity);
    server.SetReply(HttpTestServer::OkReply("secret"));
    EXPECT_EQ(HttpGetText(server.Url("/x"), Trusting(test::MakeSelfSignedCertificate("127.0.0.1"))), "");
}

TEST_F(HttpTls, PlainServerBehindAnHttpsUrlFails) {
    HttpTestServer server;
    server.SetReply(HttpTestServer::OkReply("plain"));
    THttpOptions options;
    options.StallTimeout = std::chrono::milliseconds(300);
    const std::string url = "https://127.0.0.1:" + std::to_string(server.Port()) + "/x";
    EXPECT_EQ(HttpGetText(url, options), "");
}

TEST_F(HttpTls, UnreadableExtraCertificateFileFails) {
    HttpTestServer server(identity);
    server.SetReply(HttpTestServer::OkReply("secret"));
    THttpOptions options;
    options.ExtraCaFile = dir.path().toStdString() + "/missing.pem";
    EXPECT_EQ(HttpGetText(server.Url("/x"), options), "");
}

} // namespace
} // namespace drmq
