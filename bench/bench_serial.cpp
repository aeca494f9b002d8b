// Serial port timings on a pseudo-terminal pair: how soon arriving bytes
// reach the received-data action on the UI thread, and how long a short
// command takes to write.
#include "rig/ComPort.h"
#include "support/PtyPair.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <poll.h>
#include <unistd.h>

namespace drmq {
namespace {

using Clock = std::chrono::steady_clock;

// From one byte written at the far end to OnRxChar running on the UI thread.
void BM_SerialReceiveLatency(benchmark::State &state) {
    test::TPtyPair pty;
    TComPort port;
    port.SetResolver([&](const std::string &) { return pty.DevicePath(); });
    Clock::time_point arrived;
    bool notified = false;
    port.OnRxChar = [&](int count) {
        arrived = Clock::now();
        std::string taken;
        port.ReceiveBytes(taken, count);
        notified = true;
    };
    port.OpenPort();
    std::vector<double> micros;
    for (auto _ : state) {
        notified = false;
        const auto sent = Clock::now();
        pty.Write("S");
        while (!notified) QCoreApplication::processEvents();
        micros.push_back(std::chrono::duration<double, std::micro>(arrived - sent).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    port.ClosePort();
}
BENCHMARK(BM_SerialReceiveLatency)->Unit(benchmark::kMicrosecond);

// SendBytes of an 11-byte command, the far end reading everything.
void BM_SerialSendElevenBytes(benchmark::State &state) {
    test::TPtyPair pty;
    TComPort port;
    port.SetResolver([&](const std::string &) { return pty.DevicePath(); });
    port.OpenPort();
    std::atomic<bool> running{true};
    std::thread drain([&] {
        char bytes[4096];
        while (running) {
            pollfd in{pty.FarFd(), POLLIN, 0};
            if (::poll(&in, 1, 20) > 0) [[maybe_unused]] auto n = ::read(pty.FarFd(), bytes, sizeof bytes);
        }
    });
    const std::string command("\xFE\xFE\x00\xE0\x05\x00\x40\x54\x01\x00\xFD", 11);
    for (auto _ : state) benchmark::DoNotOptimize(port.SendBytes(command));
    running = false;
    drain.join();
    port.ClosePort();
}
BENCHMARK(BM_SerialSendElevenBytes)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drmq
