// The reception log's per-second work: one log tick with its sample (and a
// minute line every 60th tick) appended to a real file, and one whole clock
// tick of the main window reading a TS-850 level through a pseudo-terminal
// (the serial write waits until its bytes have left).
#include "app/Program.h"
#include "core/UtcClock.h"
#include "logging/ReceptionLog.h"
#include "rig/ReceiverModel.h"
#include "rig/ComPort.h"
#include "support/EventLoopWait.h"
#include "support/PtyPair.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace drmq {
namespace {

void BM_LogTickWithSample(benchmark::State &state) {
    QTemporaryDir dir;
    TManualClock clock(EncodeDateTime({2024, 3, 4, 10, 0, 30, 0}));
    TReceptionLog log([&] { return clock.UtcNow(); });
    log.Begin();
    log.OpenFile(dir.path().toStdString() + "/DRMQuodra.log", "6095", "FRG100");
    double level = 40.0;
    for (auto _ : state) {
        clock.AdvanceSeconds(1);
        log.UpdateMinuteIndex();
        log.Sample(level);
        level = level > 60.0 ? 40.0 : level + 0.25;
    }
    log.Finish();
}
BENCHMARK(BM_LogTickWithSample);

// The far end of the cable answers every "SM;" with a level reply.
class TTs850Far {
public:
    explicit TTs850Far(const test::TPtyPair &pty) : pty_(pty), thread_([this] { Run(); }) {}
    ~TTs850Far() {
        stop_ = true;
        thread_.join();
    }

private:
    void Run() {
        while (!stop_) {
            if (pty_.ReadExact(3, 20) == "SM;") pty_.Write("SM0015;");
        }
    }
    const test::TPtyPair &pty_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void BM_ClockTickReadingTs850(benchmark::State &state) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    test::TPtyPair pty;
    std::ofstream(folder + "DRMQuodra.ini", std::ios::binary)
        << "[Settings]\r\nUpdate=0\r\nReceiver=" << rmTS850 << "\r\nCOM Port=0\r\n[Ports]\r\nCOM1=" << pty.DevicePath()
        << "\r\n";
    TForm1Options options;
    options.ProgramFolder = folder;
    options.Clock = std::make_shared<TManualClock>(EncodeDateTime({2024, 3, 4, 10, 0, 30, 0}));
    options.ShowErrorBox = [](const QString &) {};
    options.ShowMessage = [](const QString &) {};
    options.StartTimers = false;
    TProgram program(options);
    TForm1 &form = *program.Form1;
    form.checkaor->click();
    pty.ReadUntilQuiet();
    TTs850Far far(pty);
    for (auto _ : state) {
        form.Timer1Timer();
        // Between ticks the reply arrives and the event loop hands it over,
        // as it does within the second between two ticks of the program.
        state.PauseTiming();
        test::ProcessEventsUntil([&] { return form.ComPort1->WaitingCount() >= 7; }, 1000);
        state.ResumeTiming();
    }
    state.counters["Rxl"] = form.Rxl;
}
BENCHMARK(BM_ClockTickReadingTs850)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drmq
