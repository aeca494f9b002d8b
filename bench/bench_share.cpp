// The shared receiver: a client's "F" until the TS-850 on the pseudo-terminal
// has the command's last byte, and the UI thread's longest stall while four
// clients poll the frequency and the level ten times a second each.
#include "BenchOptions.h"
#include "StallProbe.h"
#include "app/Program.h"
#include "rig/ShareServer.h"
#include "support/EventLoopWait.h"
#include "support/PtyPair.h"
#include "support/Rigctld.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace drmq {
namespace {

using TClock = std::chrono::steady_clock;

// The program sharing a connected TS-850 on a pseudo-terminal.
struct TSharedProgram {
    TSharedProgram() {
        const std::string folder = dir.path().toStdString() + "/";
        std::ofstream(folder + "DRMSchedule.ini", std::ios::binary) << "\r\n";
        std::ofstream(folder + "wwv.txt", std::ios::binary) << "\r\n";
        std::ofstream(folder + "DRMQuodra.ini") << "[Settings]\r\nUpdate=0\r\nReceiver=17\r\nCOM Port=0\r\nQRG=6095\r\n"
                                                   "Share receiver=1\r\nShare port=0\r\n[Ports]\r\nCOM1="
                                                << pty.DevicePath() << "\r\n";
        program = std::make_unique<TProgram>(bench::QuietOptions(folder, errors));
        form().checkaor->click();
        pty.ReadUntilQuiet();
        ready = form().checkaor->isChecked() && form().Share && form().Share->Port() > 0;
    }
    TForm1 &form() { return *program->Form1; }

    test::TPtyPair pty;
    QTemporaryDir dir;
    QStringList errors;
    std::unique_ptr<TProgram> program;
    bool ready = false;
};

int ConnectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads the socket up to the end of one answer line.
void ReadLine(int fd) {
    char c = 0;
    while (::recv(fd, &c, 1, 0) == 1 && c != '\n') {
    }
}

void BM_ShareTuneToReceiver(benchmark::State &state) {
    TSharedProgram program;
    const int client = program.ready ? ConnectTo(program.form().Share->Port()) : -1;
    if (client < 0) {
        state.SkipWithError("the share did not start");
        return;
    }
    const char *const targets[] = {"9420", "15440"};
    std::vector<double> latencies;
    size_t next = 0;
    for (auto _ : state) {
        const std::string khz = targets[next++ % 2];
        // "FA", the frequency in Hz in 11 digits, ";".
        const std::string command = "FA" + std::string(8 - khz.size(), '0') + khz + "000;";
        std::atomic<bool> done{false};
        double seconds = 0;
        bool complete = false;
        std::thread far([&] {
            const std::string line = "F " + khz + "000\n";
            const auto start = TClock::now();
            ::send(client, line.data(), line.size(), 0);
            complete = program.pty.ReadExact(command.size(), 5000) == command;
            seconds = std::chrono::duration<double>(TClock::now() - start).count();
            ReadLine(client);
            done = true;
        });
        test::ProcessEventsUntil([&] { return done.load(); }, 10000);
        far.join();
        if (!complete) {
            state.SkipWithError("the receiver did not get the command");
            break;
        }
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000.0);
    }
    ::close(client);
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["median_ms"] = latencies[latencies.size() / 2];
        state.counters["max_ms"] = latencies.back();
    }
}
BENCHMARK(BM_ShareTuneToReceiver)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_ShareUiStallWhilePolled(benchmark::State &state) {
    TSharedProgram program;
    if (!program.ready) {
        state.SkipWithError("the share did not start");
        return;
    }
    TForm1 &form = program.form();
    const int port = form.Share->Port();
    // The clock ticking four times a second for 5 s with the level arriving;
    // the longest stall between the ticks and the longest tick itself.
    auto run = [&](qint64 &longestTickNs) {
        longestTickNs = 0;
        bench::TStallProbe probe;
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 5000) {
            program.pty.Write("SM0020;");
            QElapsedTimer tick;
            tick.start();
            form.Timer1Timer();
            longestTickNs = std::max(longestTickNs, tick.nsecsElapsed());
            probe.Restart();
            test::ProcessEventsFor(250);
        }
        probe.Stop();
        return probe.LongestNs();
    };
    // The first tick evaluates the schedule.
    form.Timer1Timer();
    for (auto _ : state) {
        // The same without clients shows what the loaded machine itself costs.
        qint64 longestTickNs = 0;
        const qint64 aloneNs = run(longestTickNs);
        std::atomic<bool> stop{false};
        std::atomic<int> answers{0};
        std::vector<std::thread> clients;
        for (int i = 0; i < 4; ++i) {
            clients.emplace_back([&] {
                test::TRigctlConnection connection(port);
                while (!stop && connection.Usable()) {
                    if (!connection.Ask("f").empty()) ++answers;
                    if (!connection.Ask("l STRENGTH").empty()) ++answers;
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            });
        }
        const qint64 polledNs = run(longestTickNs);
        stop = true;
        for (std::thread &client : clients) client.join();
        state.SetIterationTime(polledNs / 1e9);
        state.counters["longest_stall_ms"] = polledNs / 1e6;
        state.counters["longest_stall_without_clients_ms"] = aloneNs / 1e6;
        state.counters["longest_clock_tick_ms"] = longestTickNs / 1e6;
        state.counters["answers"] = answers.load();
    }
}
BENCHMARK(BM_ShareUiStallWhilePolled)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace drmq
