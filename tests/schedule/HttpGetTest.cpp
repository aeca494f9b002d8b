// HttpGetText against a canned server on 127.0.0.1: the request bytes, the
// body framings, the outcomes that count as failure, size limit, time-outs.
#include "schedule/HttpGet.h"
#include "schedule/HttpUrl.h"
#include "support/HttpTestServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace drmq {
namespace {

using test::HttpTestServer;
using test::THttpCannedReply;
using namespace std::chrono_literals;

TEST(HttpRequest, SendsExactlyTheFourLinesAndTheEmptyLine) {
    EXPECT_EQ(HttpRequestText("http://drmschedule.example.org/sender/DRMSchedule.ini"),
              "GET /sender/DRMSchedule.ini HTTP/1.1\r\n"
              "Host: drmschedule.example.org\r\n"
              "Accept: text/html, */*\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
              "\r\n");
}

TEST(HttpRequest, ServerReceivesTheRequestByteForByte) {
    HttpTestServer server;
    server.SetReply(HttpTestServer::OkReply("x"));
    ASSERT_EQ(HttpGetText(server.Url("/sender/DRMSchedule.ini?a=1#top")), "x");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], server.RequestFor("/sender/DRMSchedule.ini?a=1"));
}

TEST(HttpRequest, EachCallUsesAFreshConnection) {
    HttpTestServer server;
    server.SetReply(HttpTestServer::OkReply("one"));
    EXPECT_EQ(HttpGetText(server.Url("/a")), "one");
    server.SetReply(HttpTestServer::OkReply("two"));
    EXPECT_EQ(HttpGetText(server.Url("/b")), "two");
    EXPECT_EQ(server.Requests().size(), 2u);
}

struct TUrlCase {
    const char *url;
    bool secure;
    const char *host;
    int port;
    const char *hostHeader;
    const char *path;
};

TEST(HttpUrl, SplitsHostPortAndPath) {
    const TUrlCase cases[] = {
        {"http://drmschedule.example.org/sender/DRMSchedule.ini", false, "drmschedule.example.org", 80,
         "drmschedule.example.org", "/sender/DRMSchedule.ini"},
        {"HTTP://127.0.0.1:8080/x", false, "127.0.0.1", 8080, "127.0.0.1:8080", "/x"},
        {"https://services.example.gov/text/wwv.txt", true, "services.example.gov", 443, "services.example.gov",
         "/text/wwv.txt"},
        {"http://host", false, "host", 80, "host", "/"},
        {"http://host?q=1#frag", false, "host", 80, "host", "/?q=1"},
        {"http://[::1]:81/p", false, "::1", 81, "[::1]:81", "/p"},
    };
    for (const auto &c : cases) {
        const auto split = SplitHttpUrl(c.url);
        ASSERT_TRUE(split) << c.url;
        EXPECT_EQ(split->Secure, c.secure) << c.url;
        EXPECT_EQ(split->Host, c.host) << c.url;
        EXPECT_EQ(split->Port, c.port) << c.url;
        EXPECT_EQ(split->HostHeader, c.hostHeader) << c.url;
        EXPECT_EQ(split->Path, c.path) << c.url;
    }
}

TEST(HttpUrl, RefusesWhatItCannotRequest) {
    for (const char *url : {"", "ftp://host/x", "host/x", "http://", "http:///x", "http://host:/x",
                            "http://host:0/x", "http://host:65536/x", "http://host:8o/x", "http://[::1/x"})
        EXPECT_FALSE(SplitHttpUrl(url)) << url;
    EXPECT_EQ(HttpGetText("ftp://127.0.0.1/x"), "");
}

TEST(HttpUrl, HostForTheHint) {
    EXPECT_EQ(HostOfUrl("http://drmschedule.example.org/sender/DRMSchedule.ini"), "drmschedule.example.org");
    EXPECT_EQ(HostOfUrl("http://127.0.0.1:8080/x"), "127.0.0.1");
}

struct TReplyCase {
    const char *name;
    std::string reply;
    std::string expected;
};

TEST(HttpReply, FramingAndOutcome) {
    const std::string body = "DRM\r\nline two\nline three";
    const TReplyCase cases[] = {
        {"content length", HttpTestServer::OkReply(body), body},
        {"content length stops reading", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA", "hello"},
        {"header names ignore case", "HTTP/1.1 200 OK\r\ncontent-LENGTH: 5\r\n\r\nhelloEXTRA", "hello"},
        {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nDRM\r\n\r\n11 ext\r\nline two\nline thr\r\n"
                    "2;name=value\r\nee\r\n0\r\n\r\n",
         body},
        {"chunked in capitals", "HTTP/1.1 200 OK\r\nTRANSFER-ENCODING: Chunked\r\n\r\nA\r\n0123456789\r\n0\r\n\r\n",
         "0123456789"},
        {"chunked ends without the last line", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n0\r\n",
         "ok"},
        {"HTTP/1.0 until close", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\n" + body, body},
        {"LF-only head", "HTTP/1.1 200 OK\nContent-Length: 5\n\nhello", "hello"},
        {"other 2xx", "HTTP/1.1 203 Non-Authoritative\r\nContent-Length: 2\r\n\r\nok", "ok"},
        {"bytes kept as they are", std::string("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n") + std::string("a\0b\rc\xE4", 6),
         std::string("a\0b\rc\xE4", 6)},
        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", ""},
        {"500", "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 5\r\n\r\nerror", ""},
        {"301 with Location", "HTTP/1.1 301 Moved\r\nLocation: http://127.0.0.1/y\r\nContent-Length: 4\r\n\r\nmove", ""},
        {"302 with Location", "HTTP/1.1 302 Found\r\nLocation: /y\r\n\r\n", ""},
        {"304", "HTTP/1.1 304 Not Modified\r\n\r\n", ""},
        {"199", "HTTP/1.1 199 Odd\r\nContent-Length: 2\r\n\r\nok", ""},
        {"300", "HTTP/1.1 300 Choices\r\nContent-Length: 2\r\n\r\nok", ""},
        {"200 with Location", "HTTP/1.1 200 OK\r\nlocation: /elsewhere\r\nContent-Length: 2\r\n\r\nok", ""},
        {"empty 200", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
        {"empty 200 until close", "HTTP/1.0 200 OK\r\n\r\n", ""},
        {"status not a number", "HTTP/1.1 OK 200\r\nContent-Length: 2\r\n\r\nok", ""},
        {"no status", "HTTP/1.1\r\nContent-Length: 2\r\n\r\nok", ""},
        {"not HTTP at all", "hello world", ""},
        {"nothing", "", ""},
        {"headers cut off", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n", ""},
        {"body shorter than its length", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nshort", ""},
        {"content length not a number", "HTTP/1.1 200 OK\r\nContent-Length: lots\r\n\r\nok", ""},
        {"chunk cut off", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nA\r\nshort", ""},
        {"chunked without an end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n", ""},
        {"chunk size not hexadecimal", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nok\r\n0\r\n\r\n", ""},
    };
    HttpTestServer server;
    for (const auto &c : cases) {
        server.SetReply(c.reply);
        EXPECT_EQ(HttpGetText(server.Url("/file")), c.expected) << c.name;
    }
}

TEST(HttpReply, BodyLimit) {
    THttpOptions options;
    options.MaxBodyBytes = 10;
    const TReplyCase cases[] = {
        {"length at the limit", HttpTestServer::OkReply("0123456789"), "0123456789"},
        {"length over the limit", HttpTestServer::OkReply("0123456789A"), ""},
        {"until close at the limit", "HTTP/1.0 200 OK\r\n\r\n0123456789", "0123456789"},
        {"until close over the limit", "HTTP/1.0 200 OK\r\n\r\n0123456789A", ""},
        {"chunks at the limit", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\n01234\r\n5\r\n56789\r\n0\r\n\r\n",
         "0123456789"},
        {"chunks over the limit",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\n01234\r\n6\r\n56789A\r\n0\r\n\r\n", ""},
        {"one huge chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFF\r\nx", ""},
    };
    HttpTestServer server;
    for (const auto &c : cases) {
        server.SetReply(c.reply);
        EXPECT_EQ(HttpGetText(server.Url("/file"), options), c.expected) << c.name;
    }
}

TEST(HttpReply, DefaultLimitIsSixteenMebibytes) {
    const std::size_t limit = 16u * 1024u * 1024u;
    HttpTestServer server;
    const std::string body(limit, 'a');
    server.SetReply(HttpTestServer::OkReply(body));
    EXPECT_EQ(HttpGetText(server.Url("/big")).size(), limit);
    // Refused from the header alone: the server sends no body and stalls,
    // so a client that tried to read it would wait for its time-out.
    THttpOptions options;
    options.StallTimeout = 30s;
    server.SetReply(THttpCannedReply{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(limit + 1) + "\r\n\r\n",
                                     THttpCannedReply::TAfter::Stall});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(HttpGetText(server.Url("/bigger"), options), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

// Short time-outs, and a bound on the elapsed time that only the time-out
// under test can meet (the others are set far longer).
class HttpTimeouts : public ::testing::Test {
protected:
    std::string Get(const std::string &url) {
        const auto start = std::chrono::steady_clock::now();
        std::string text = HttpGetText(url, options);
        elapsed = std::chrono::steady_clock::now() - start;
        return text;
    }
    // A connection given up is closed: no socket is left open.
    void TearDown() override { EXPECT_EQ(test::OpenDescriptorCount(), descriptorsBefore); }

    const int descriptorsBefore = test::OpenDescriptorCount();
    THttpOptions options;
    std::chrono::steady_clock::duration elapsed{};
};

TEST_F(HttpTimeouts, ServerThatNeverAnswers) {
    HttpTestServer server;
    server.SetReply(THttpCannedReply{"", THttpCannedReply::TAfter::Stall});
    options.StallTimeout = 300ms;
    EXPECT_EQ(Get(server.Url("/x")), "");
    EXPECT_GE(elapsed, 250ms);
    EXPECT_LT(elapsed, 10s);
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpTimeouts, ServerThatStopsInTheBody) {
    HttpTestServer server;
    server.SetReply(THttpCannedReply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial",
                                     THttpCannedReply::TAfter::Stall});
    options.StallTimeout = 300ms;
    EXPECT_EQ(Get(server.Url("/x")), "");
    EXPECT_LT(elapsed, 10s);
}

TEST_F(HttpTimeouts, ServerThatTricklesForEver) {
    // Every read makes progress, so only the bound on the whole request ends it.
    HttpTestServer server;
    server.SetReply(THttpCannedReply{"HTTP/1.0 200 OK\r\n\r\n", THttpCannedReply::TAfter::Trickle, 20ms});
    options.StallTimeout = 2s;
    options.TotalTimeout = 700ms;
    EXPECT_EQ(Get(server.Url("/x")), "");
    EXPECT_GE(elapsed, 650ms);
    EXPECT_LT(elapsed, 10s);
}

TEST_F(HttpTimeouts, ServerThatNeverAcceptsTheConnection) {
    test::TFullListener listener;
    options.ConnectTimeout = 300ms;
    EXPECT_EQ(Get("http://127.0.0.1:" + std::to_string(listener.Port()) + "/x"), "");
    EXPECT_GE(elapsed, 250ms);
    EXPECT_LT(elapsed, 10s);
}

TEST_F(HttpTimeouts, NothingListeningFailsAtOnce) {
    // A port that was free a moment ago: the connection is refused.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&address), length), 0);
    ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length), 0);
    close(fd);
    options.ConnectTimeout = 30s;
    EXPECT_EQ(Get("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/x"), "");
    EXPECT_LT(elapsed, 10s);
}

} // namespace
} // namespace drmq
