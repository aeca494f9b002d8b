// The share server with the UI thread's part played by the test: tunings of
// several clients merged into one, and a client that floods without reading
// its answers while another one is served.
#include "rig/ShareServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace drmq {
namespace {

using namespace std::chrono_literals;

// A raw client of the server's port.
class TClient {
public:
    explicit TClient(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~TClient() { ::close(fd_); }
    bool Connected() const { return connected_; }
    int Fd() const { return fd_; }
    void Send(const std::string &bytes) const { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // The next answer line, "" when none came within 20 s.
    std::string Line() {
        while (pending_.find('\n') == std::string::npos) {
            pollfd ready{fd_, POLLIN, 0};
            char buffer[4096];
            if (::poll(&ready, 1, 20000) != 1) return "";
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) return "";
            pending_.append(buffer, static_cast<size_t>(got));
        }
        const size_t end = pending_.find('\n');
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        return line;
    }

private:
    int fd_;
    bool connected_ = false;
    std::string pending_;
};

template <typename Condition> bool WaitFor(Condition condition) {
    for (auto end = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < end;) {
        if (condition()) return true;
        std::this_thread::sleep_for(1ms);
    }
    return condition();
}

TEST(ShareServerTest, TuningsOfFourClientsWaitingTogetherBecomeOneAndEachIsAnswered) {
    std::atomic<int> told{0};
    // The UI thread has published no frequency yet.
    std::atomic<int> clients{0};
    TShareServer server({[&] { ++told; }, [&](int count) { clients = count; }});
    ASSERT_EQ(server.Start("127.0.0.1", 0), "");
    TClient first(server.Port());
    ASSERT_TRUE(first.Connected());
    // The first tuning is told at once; the UI thread takes it and is busy.
    first.Send("F 6095000\n");
    ASSERT_TRUE(WaitFor([&] { return told == 1; }));
    const auto busy = server.TakeTune();
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->Khz, 6095);

    // Meanwhile four clients ask for tunings, one after the other; the
    // answer to the reading sent with each shows the server has the tuning.
    std::vector<std::unique_ptr<TClient>> others;
    for (const char *hz : {"7000000", "9500000", "11800000", "15440000"}) {
        others.push_back(std::make_unique<TClient>(server.Port()));
        others.back()->Send(std::string("f\n+F ") + hz + "\n");
        ASSERT_EQ(others.back()->Line(), "0");
    }
    // None is told while the first one is being tuned.
    EXPECT_EQ(told, 1);
    server.TuneDone(busy->Ticket, kRigOk);
    EXPECT_EQ(first.Line(), "RPRT 0");
    // Now the newest of the four, once, for all four.
    ASSERT_TRUE(WaitFor([&] { return told == 2; }));
    const auto merged = server.TakeTune();
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->Khz, 15440);
    EXPECT_FALSE(server.TakeTune());
    server.TuneDone(merged->Ticket, kRigRejected);
    for (auto &client : others) {
        const std::string header = client->Line();
        EXPECT_EQ(header.rfind("set_freq: ", 0), 0u) << header;
        EXPECT_EQ(client->Line(), "RPRT -9");
    }
    EXPECT_EQ(told, 2);
    EXPECT_EQ(clients, 5);
}

TEST(ShareServerTest, AClientThatNeverReadsItsAnswersHoldsUpNoOther) {
    TShareServer server({});
    ASSERT_EQ(server.Start("127.0.0.1", 0), "");
    TShareSnapshot snapshot;
    snapshot.Hz = 6095000;
    server.Publish(snapshot);
    TClient flood(server.Port());
    std::string requests;
    for (int i = 0; i < 20000; ++i) requests += "\\dump_state\n";
    // Some 12 MB of answers that are never read.
    std::thread sender([&] { flood.Send(requests); });
    TClient other(server.Port());
    for (int i = 0; i < 20; ++i) {
        other.Send("f\n");
        ASSERT_EQ(other.Line(), "6095000");
    }
    ::shutdown(flood.Fd(), SHUT_RDWR);
    sender.join();
}

} // namespace
} // namespace drmq
