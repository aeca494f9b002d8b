// The Hamlib receiver against a local rigctld with the dummy rig: a click on
// a schedule row until rigctld has the frequency (and the part of it that is
// rigctld's own), and the UI thread's longest stall while rigctld is frozen.
#include "BenchOptions.h"
#include "StallProbe.h"
#include "app/Program.h"
#include "support/EventLoopWait.h"
#include "support/Rigctld.h"
#include "support/ScheduleFileBuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>

namespace drmq {
namespace {

const char *const kRows[] = {"9420", "15440"};

// The program with "Hamlib" connected to rigctld, its grid holding kRows.
struct THamlibProgram {
    explicit THamlibProgram(const test::TRigctld &rigctld) {
        const std::string folder = dir.path().toStdString() + "/";
        std::vector<test::TScheduleBlock> blocks;
        for (const char *khz : kRows) {
            test::TScheduleBlock block;
            block.Start = "0000";
            block.Stop = "2400";
            block.Frequency = khz;
            blocks.push_back(block);
        }
        std::ofstream(folder + "DRMSchedule.ini", std::ios::binary) << test::ScheduleFileText(blocks);
        std::ofstream(folder + "wwv.txt", std::ios::binary) << "\r\n";
        std::ofstream(folder + "DRMQuodra.ini") << "[Settings]\r\nUpdate=0\r\nReceiver=18\r\nQRG=6095\r\nHamlib port="
                                                 << rigctld.Address() << "\r\n";
        program = std::make_unique<TProgram>(bench::QuietOptions(folder, errors));
        form().checkaor->click();
        opened = test::ProcessEventsUntil([this] { return form().cbfilter->isEnabled(); }, 20000);
    }
    TForm1 &form() { return *program->Form1; }
    int RowOf(const QString &khz) {
        for (int row = 1; !form().GridCell(2, row).isEmpty(); ++row)
            if (form().GridCell(2, row) == khz) return row;
        return 0;
    }

    QTemporaryDir dir;
    QStringList errors;
    std::unique_ptr<TProgram> program;
    bool opened = false;
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_HamlibGridClickToRigctld(benchmark::State &state) {
    test::TRigctld rigctld;
    THamlibProgram program(rigctld);
    test::TRigctlConnection client(rigctld.Port());
    if (!program.opened || !client.Connected()) {
        state.SkipWithError("rigctld did not connect");
        return;
    }
    // The dummy rig spends about 20 ms in every frequency command itself;
    // the same command sent straight to rigctld shows that share.
    std::vector<double> direct;
    for (int i = 0; i < 20; ++i) {
        const auto start = std::chrono::steady_clock::now();
        client.Ask(std::string("F ") + kRows[i % 2] + "000");
        direct.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() * 1000.0);
    }
    std::vector<double> latencies;
    size_t next = 0;
    for (auto _ : state) {
        const char *khz = kRows[next++ % 2];
        const int row = program.RowOf(khz);
        const std::string wanted = std::string(khz) + "000";
        const auto start = std::chrono::steady_clock::now();
        program.form().SetCurrentGridRow(row);
        program.form().StringGrid1Click();
        bool arrived = false;
        for (int polls = 0; polls < 100000 && !arrived; ++polls) {
            const auto reply = client.Ask("f");
            arrived = !reply.empty() && reply.front() == wanted;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!arrived) {
            state.SkipWithError("the frequency never reached rigctld");
            break;
        }
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000.0);
        QCoreApplication::processEvents();
    }
    state.counters["median_ms"] = Median(latencies);
    state.counters["rigctld_own_ms"] = Median(direct);
    state.counters["program_ms"] = Median(latencies) - Median(direct);
    if (!program.errors.isEmpty()) state.SetLabel(program.errors.join("; ").toStdString());
}
BENCHMARK(BM_HamlibGridClickToRigctld)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// Clicks, clock ticks and a 1 ms timer on the UI thread for a few seconds
// while rigctld answers nothing; the longest time the thread was held.
void BM_HamlibUiStallWhileFrozen(benchmark::State &state) {
    test::TRigctld rigctld;
    THamlibProgram program(rigctld);
    if (!program.opened) {
        state.SkipWithError("rigctld did not connect");
        return;
    }
    TForm1 &form = program.form();
    for (auto _ : state) {
        rigctld.Freeze();
        qint64 longestHandlerNs = 0;
        bench::TStallProbe probe;
        QElapsedTimer run;
        run.start();
        int step = 0;
        while (run.elapsed() < 5000) {
            QElapsedTimer handler;
            handler.start();
            if (++step % 2) form.Button2->click();
            else form.Timer1Timer();
            longestHandlerNs = std::max(longestHandlerNs, handler.nsecsElapsed());
            test::ProcessEventsFor(100);
        }
        probe.Stop();
        rigctld.Thaw();
        const qint64 longestNs = std::max(probe.LongestNs(), longestHandlerNs);
        state.SetIterationTime(longestNs / 1e9);
        state.counters["longest_stall_ms"] = longestNs / 1e6;
        state.counters["longest_handler_ms"] = longestHandlerNs / 1e6;
    }
}
BENCHMARK(BM_HamlibUiStallWhileFrozen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace drmq
