// The serial port against a pseudo-terminal pair: bytes both ways, the
// received-data notification on the UI thread, exclusivity and errors.
#include "support/EventLoopWait.h"
#include "support/PtyPair.h"
#include "rig/ComPort.h"
#include "rig/LinePort.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <termios.h>
#include <thread>
#include <vector>

namespace drmq::test {
namespace {

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        port.SetResolver([this](const std::string &name) { return name == "COM2" ? pty2.DevicePath() : pty.DevicePath(); });
    }

    // Records every notification and, when asked, takes the bytes.
    void RecordNotifications(bool take) {
        port.OnRxChar = [this, take](int count) {
            counts.push_back(count);
            onUiThread = onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            if (take) {
                std::string got;
                port.ReceiveBytes(got, count);
                received += got;
            }
        };
    }

    TPtyPair pty;
    TPtyPair pty2;
    // Before the port: closing it at the end may still deliver a notification.
    std::vector<int> counts;
    std::string received;
    bool onUiThread = true;
    TComPort port;
};

TEST_F(ComPortTest, SendsEveryByteIncludingNulUnchanged) {
    port.OpenPort();
    const std::string command("\x00\x12\x34\x56\x0A\x11\x13\xFF", 8);
    EXPECT_EQ(port.SendBytes(command), 8);
    EXPECT_EQ(pty.ReadExact(8), command);
}

TEST_F(ComPortTest, EmptyTextWritesNothingAndReturnsZero) {
    port.OpenPort();
    EXPECT_EQ(port.SendBytes(""), 0);
    EXPECT_EQ(pty.ReadUntilQuiet(50), "");
}

TEST_F(ComPortTest, ArrivingBytesAreAnnouncedOnTheUiThreadWithTheirCount) {
    RecordNotifications(true);
    port.OpenPort();
    const std::string reply("\x00\x07\x00\x01\x0A", 5);
    pty.Write(reply);
    ASSERT_TRUE(ProcessEventsUntil([&] { return received.size() == 5; }));
    EXPECT_EQ(received, reply);
    ASSERT_FALSE(counts.empty());
    int total = 0;
    for (int c : counts) total += c;
    EXPECT_EQ(total, 5); // each notification counts exactly the bytes then waiting
    EXPECT_TRUE(onUiThread);
}

TEST_F(ComPortTest, BytesNotTakenAreCountedAgainAtTheNextNotification) {
    RecordNotifications(false);
    port.OpenPort();
    pty.Write("AB");
    ASSERT_TRUE(ProcessEventsUntil([&] { return !counts.empty() && counts.back() == 2; }));
    pty.Write("CDE");
    ASSERT_TRUE(ProcessEventsUntil([&] { return counts.back() == 5; }));
    std::string got;
    EXPECT_EQ(port.ReceiveBytes(got, 3), 3);
    EXPECT_EQ(got, "ABC");
    EXPECT_EQ(port.WaitingCount(), 2);
    EXPECT_EQ(port.ReceiveBytes(got, 10), 2);
    EXPECT_EQ(got, "DE");
    EXPECT_EQ(port.ReceiveBytes(got, 0), 0);
    EXPECT_EQ(got, "");
}

TEST_F(ComPortTest, ClosingDiscardsBytesNotTaken) {
    RecordNotifications(false);
    port.OpenPort();
    pty.Write("stale");
    ASSERT_TRUE(ProcessEventsUntil([&] { return port.WaitingCount() == 5; }));
    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    port.OpenPort();
    EXPECT_EQ(port.WaitingCount(), 0);
    counts.clear();
    pty.Write("new");
    ASSERT_TRUE(ProcessEventsUntil([&] { return !counts.empty(); }));
    EXPECT_EQ(counts.back(), 3);
}

TEST_F(ComPortTest, OpenOnAnOpenPortAndCloseOnAClosedPortChangeNothing) {
    port.ClosePort();
    EXPECT_FALSE(port.Connected());
    RecordNotifications(false);
    port.OpenPort();
    pty.Write("xy");
    ASSERT_TRUE(ProcessEventsUntil([&] { return port.WaitingCount() == 2; }));
    port.OpenPort();
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.WaitingCount(), 2);
}

TEST_F(ComPortTest, SameNameKeepsThePortAndANewNameReopensOnIt) {
    RecordNotifications(false);
    port.OpenPort();
    pty.Write("kept");
    ASSERT_TRUE(ProcessEventsUntil([&] { return port.WaitingCount() == 4; }));
    port.SetPort("COM1");
    EXPECT_EQ(port.WaitingCount(), 4);

    port.SetPort("COM2");
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.WaitingCount(), 0);
    EXPECT_EQ(port.SendBytes("B"), 1);
    EXPECT_EQ(pty2.ReadExact(1), "B");
    // The first device is free again.
    TComPort other;
    other.SetResolver([this](const std::string &) { return pty.DevicePath(); });
    EXPECT_NO_THROW(other.OpenPort());
}

TEST_F(ComPortTest, SecondOpenerIsRefusedWithCodeOneAndTheErrorNumber) {
    port.OpenPort();
    TComPort second;
    second.SetResolver([this](const std::string &) { return pty.DevicePath(); });
    try {
        second.OpenPort();
        FAIL() << "second open succeeded";
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code(), 1);
        EXPECT_STREQ(e.what(), "Unable to open com port (win error code: 16)");
    }
    EXPECT_FALSE(second.Connected());
}

TEST_F(ComPortTest, LinePortAndComPortExcludeEachOther) {
    TSerialLinePort lines([this](const std::string &) { return pty.DevicePath(); });
    lines.OpenLinePort("COM1");
    ASSERT_TRUE(lines.LineOpen());
    EXPECT_THROW(port.OpenPort(), EComPort);
    lines.CloseLinePort();
    port.OpenPort();
    lines.OpenLinePort("COM1");
    EXPECT_FALSE(lines.LineOpen());
    // Line operations on the failed handle do nothing and raise nothing.
    lines.LineDTR(true);
    lines.LineRTS(true);
    lines.LineBreak(true);
    EXPECT_EQ(port.SendBytes("ok"), 2);
    EXPECT_EQ(pty.ReadExact(2), "ok");
}

TEST_F(ComPortTest, MissingDeviceFailsWithCodeOne) {
    port.SetResolver([](const std::string &) { return std::string("/dev/no-such-serial-device"); });
    try {
        port.OpenPort();
        FAIL() << "open succeeded";
    } catch (const EComPort &e) {
        EXPECT_EQ(e.Code(), 1);
        EXPECT_STREQ(e.what(), "Unable to open com port (win error code: 2)");
    }
    EXPECT_FALSE(port.Connected());
}

// Every operation on a closed port raises its own code with the invalid-handle number.
TEST_F(ComPortTest, OperationsOnAClosedPortRaiseTheirCodes) {
    struct Case {
        int code;
        const char *text;
        std::function<void()> call;
    };
    std::string buffer;
    const std::vector<Case> cases = {
        {2, "WriteFile function failed (win error code: 9)", [&] { port.SendBytes("x"); }},
        {2, "WriteFile function failed (win error code: 9)", [&] { port.SendBytes(""); }},
        {3, "ReadFile function failed (win error code: 9)", [&] { port.ReceiveBytes(buffer, 1); }},
        {10, "ClearCommError function failed (win error code: 9)", [&] { port.WaitingCount(); }},
        {12, "EscapeCommFunction function failed (win error code: 9)", [&] { port.DriveDTR(true); }},
    };
    for (const auto &c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for code " << c.code;
        } catch (const EComPort &e) {
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_STREQ(e.what(), c.text);
        }
    }
}

TEST_F(ComPortTest, PseudoTerminalWithoutModemLinesStillCarriesData) {
    port.SetControlDTR(dtrHandshake);
    port.SetControlRTS(rtsHandshake);
    port.OpenPort();
    EXPECT_NO_THROW(port.DriveDTR(true));
    port.SetControlDTR(dtrDisable);
    EXPECT_NO_THROW(port.DriveDTR(true));
    EXPECT_EQ(port.SendBytes("abc"), 3);
    EXPECT_EQ(pty.ReadExact(3), "abc");
}

termios LineOf(const TPtyPair &pty) {
    termios tio{};
    tcgetattr(pty.FarFd(), &tio); // the master reports the line of its terminal
    return tio;
}

TEST_F(ComPortTest, LineIsRawEightBitWithoutAnyFlowControl) {
    port.OpenPort();
    const termios tio = LineOf(pty);
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CRTSCTS | CSTOPB), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

TEST_F(ComPortTest, ChangedSpeedAndStopBitsTakeEffectOnTheOpenPort) {
    const std::vector<std::pair<TBaudRate, speed_t>> rates = {
        {br1200, B1200}, {br4800, B4800}, {br19200, B19200}, {br9600, B9600}};
    port.OpenPort();
    for (auto [rate, speed] : rates) {
        port.SetBaudRate(rate);
        const termios tio = LineOf(pty);
        EXPECT_EQ(cfgetospeed(&tio), speed) << rate;
    }
    port.SetStopBits(sbTwoStopBits);
    EXPECT_NE(LineOf(pty).c_cflag & CSTOPB, 0u);
    port.SetStopBits(sbOneStopBit);
    EXPECT_EQ(LineOf(pty).c_cflag & CSTOPB, 0u);
}

TEST_F(ComPortTest, SettingsMadeWhileClosedApplyAtOpen) {
    port.SetBaudRate(br4800);
    port.SetStopBits(sbTwoStopBits);
    port.OpenPort();
    const termios tio = LineOf(pty);
    EXPECT_EQ(cfgetospeed(&tio), speed_t(B4800));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);
}

TEST_F(ComPortTest, AnOverflowingBufferHoldsItsSizeAndRefillsWhenTaken) {
    RecordNotifications(false);
    port.OpenPort();
    std::string flood(3000, '\0');
    for (std::size_t i = 0; i < flood.size(); ++i) flood[i] = char(i % 251);
    pty.Write(flood);
    ASSERT_TRUE(ProcessEventsUntil([&] { return port.WaitingCount() == 1024; }));
    // A full buffer must not keep the event thread busy.
    const std::clock_t before = std::clock();
    ProcessEventsFor(300);
    EXPECT_EQ(port.WaitingCount(), 1024);
    EXPECT_LT(double(std::clock() - before) / CLOCKS_PER_SEC, 0.2);

    std::string all;
    ASSERT_TRUE(ProcessEventsUntil([&] {
        std::string got;
        port.ReceiveBytes(got, 1024);
        all += got;
        return all.size() >= flood.size();
    }));
    EXPECT_EQ(all, flood);
}

TEST_F(ComPortTest, AnErrorInTheActionEndsNotificationsUntilReopened) {
    int calls = 0;
    port.OnRxChar = [&](int) {
        ++calls;
        throw EComPort(3, "ReadFile function failed");
    };
    port.OpenPort();
    pty.Write("a");
    ASSERT_TRUE(ProcessEventsUntil([&] { return calls == 1; }));
    pty.Write("b");
    ProcessEventsFor(200);
    EXPECT_EQ(calls, 1);
    port.ClosePort();
    port.OpenPort();
    pty.Write("c");
    EXPECT_TRUE(ProcessEventsUntil([&] { return calls == 2; }));
}

// Fails the test run loudly instead of hanging it when a close deadlocks.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : thread_([this, seconds] {
              std::unique_lock lock(mutex_);
              if (!done_cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
                  fprintf(stderr, "deadlock: ClosePort did not return\n");
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        done_cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_cv_;
    bool done_ = false;
    std::thread thread_;
};

TEST_F(ComPortTest, CloseWhileDataStreamsInDoesNotDeadlock) {
    RecordNotifications(true);
    std::atomic<bool> streaming{true};
    port.OpenPort();
    std::thread farEnd([&] {
        while (streaming) {
            pty.Write("0123456789");
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    Watchdog watchdog(20);
    for (int round = 0; round < 20; ++round) {
        const std::size_t before = received.size();
        ASSERT_TRUE(ProcessEventsUntil([&] { return received.size() > before; }));
        // Let a hand-over be posted but not yet served, then close.
        QThread::msleep(2);
        port.ClosePort();
        EXPECT_FALSE(port.Connected());
        port.OpenPort();
    }
    streaming = false;
    farEnd.join();
    EXPECT_TRUE(onUiThread);
}

TEST_F(ComPortTest, CloseFromInsideTheActionDoesNotDeadlock) {
    port.OnRxChar = [&](int) { port.ClosePort(); };
    port.OpenPort();
    Watchdog watchdog(20);
    pty.Write("x");
    ASSERT_TRUE(ProcessEventsUntil([&] { return !port.Connected(); }));
    port.OpenPort();
    EXPECT_TRUE(port.Connected());
}

TEST_F(ComPortTest, WriteGivesUpAfterItsTimeOutWithoutError) {
    port.OpenPort();
    pty.FillProgramOutput(); // the far end reads nothing, so the line is full
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(port.SendBytes("12345"), 0);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(1450));
    EXPECT_LT(waited, std::chrono::milliseconds(3000));
}

} // namespace
} // namespace drmq::test
