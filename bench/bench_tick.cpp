// The clock tick with a receiver connected: how long Timer1Timer holds the UI
// thread per tick (caption, schedule, level request and reading) for the
// serial receivers that report a level, also with the port's output stopped
// (tcflow TCOOFF, as a stuck adapter or flow control does), and for the Elektor;
// and how long a tuning holds it on the synthesizer front ends, whose line
// frames and pauses go out on the link's thread.
#include "BenchOptions.h"
#include "app/Program.h"
#include "rig/ReceiverModel.h"
#include "support/PtyPair.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
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

// A program with the receiver model connected on a pseudo-terminal's COM1.
struct TConnected {
    explicit TConnected(int model) {
        bench::WriteReceiverFolder(folder, model, pty.DevicePath());
        program = std::make_unique<TProgram>(bench::QuietOptions(folder, errors));
        form().checkaor->click();
        pty.ReadUntilQuiet(50);
    }
    ~TConnected() { form().checkaor->click(); }
    TForm1 &form() const { return *program->Form1; }

    test::TPtyPair pty;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    QStringList errors;
    std::unique_ptr<TProgram> program;
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_TickStall(benchmark::State &state, TTickCase tick) {
    TConnected connected(tick.model);
    TForm1 &form = connected.form();
    test::TPtyPair &pty = connected.pty;
    // A handle of our own on the same terminal suspends its output for everyone.
    const int slave = ::open(pty.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    if (tick.stopped) ::tcflow(slave, TCOOFF);
    double longestMs = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        form.Timer1Timer();
        longestMs = std::max(longestMs, MsSince(start));
        QCoreApplication::processEvents();
        if (!tick.stopped) pty.ReadUntilQuiet(5);
    }
    state.counters["longest_ms"] = longestMs;
    if (tick.stopped) ::tcflow(slave, TCOON);
    ::close(slave);
}

void BM_TuneStall(benchmark::State &state, int model) {
    TConnected connected(model);
    TForm1 &form = connected.form();
    double longestMs = 0;
    int khz = 6000;
    for (auto _ : state) {
        const auto start = Clock::now();
        form.SetFreq(QString::number(++khz));
        longestMs = std::max(longestMs, MsSince(start));
        // The frames of one tuning are out before the next.
        form.Link->Finish();
        QCoreApplication::processEvents();
    }
    state.counters["longest_ms"] = longestMs;
}

BENCHMARK_CAPTURE(BM_TickStall, FRG100, TTickCase{rmFRG100, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, AOR7030, TTickCase{rmAOR7030, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, TS850, TTickCase{rmTS850, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, Elektor, TTickCase{rmElektor, false})->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(BM_TickStall, FRG100_OutputStopped, TTickCase{rmFRG100, true})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_TuneStall, Elektor, rmElektor)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_TuneStall, DRT1, rmDRT1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace drmq
