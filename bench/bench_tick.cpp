// The clock tick with a receiver connected: how long Timer1Timer holds the UI
// thread per tick (caption, schedule, level request and reading) for the
// serial receivers that report a level, also with the port's output stopped
// (tcflow TCOOFF, as a stuck adapter or flow control does), and for the Elektor.
#include "BenchOptions.h"
#include "app/Program.h"
#include "rig/ReceiverModel.h"
#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace drmq {
namespace {

using Clock = std::chrono::steady_clock;

struct TTickCase {
    int model;
    bool stopped; // the port's output is suspended while ticking
};

void BM_TickStall(benchmark::State &state, TTickCase tick) {
    test::TPtyPair pty;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    bench::WriteReceiverFolder(folder, tick.model, pty.DevicePath());
    QStringList errors;
    TProgram program(bench::QuietOptions(folder, errors));
    TForm1 &form = *program.Form1;
    form.checkaor->click();
    pty.ReadUntilQuiet(50);
    // A handle of our own on the same terminal suspends its output for everyone.
    const int slave = ::open(pty.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    if (tick.stopped) ::tcflow(slave, TCOOFF);
    double longestMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        form.Timer1Timer();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        longestMs = std::max(longestMs, ms);
        QCoreApplication::processEvents();
        if (!tick.stopped) pty.ReadUntilQuiet(5);
    }
    state.counters["longest_ms"] = longestMs;
    if (tick.stopped) ::tcflow(slave, TCOON);
    ::close(slave);
    form.checkaor->click();
}

BENCHMARK_CAPTURE(BM_TickStall, FRG100, TTickCase{rmFRG100, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, AOR7030, TTickCase{rmAOR7030, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, TS850, TTickCase{rmTS850, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, Elektor, TTickCase{rmElektor, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, FRG100_OutputStopped, TTickCase{rmFRG100, true})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
} // namespace drmq
