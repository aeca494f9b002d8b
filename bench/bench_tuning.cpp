// Click-to-wire latency of the tuning controls: from a click on "+"/"-", a
// preset button or an attenuator choice to the last byte of the AOR7030's
// command at the far end of a pseudo-terminal.
#include "BenchOptions.h"
#include "app/Program.h"
#include "rig/ReceiverModel.h"
#include "support/PtyPair.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <functional>

namespace drmq {
namespace {

// An AOR7030 connected on a pty as COM1, with an empty schedule.
struct TConnectedAor7030 {
    TConnectedAor7030() {
        folder = dir.path().toStdString() + "/";
        std::ofstream(folder + "DRMSchedule.ini", std::ios::binary) << "empty schedule\r\n";
        std::ofstream(folder + "wwv.txt", std::ios::binary) << "\r\n";
        std::ofstream(folder + "DRMQuodra.ini", std::ios::binary)
            << "[Settings]\r\nUpdate=0\r\nReceiver=" << rmAOR7030 << "\r\nCOM Port=0\r\nQRG=6095\r\n[Ports]\r\nCOM1="
            << pty.DevicePath() << "\r\n";
        program = std::make_unique<TProgram>(bench::QuietOptions(folder, errors));
        program->Form1->checkaor->click();
        pty.ReadUntilQuiet(50);
    }

    // Runs click once per iteration and waits for commandBytes at the far end.
    void Measure(benchmark::State &state, size_t commandBytes, const std::function<void(bool odd)> &click) {
        bool odd = false;
        for (auto _ : state) {
            odd = !odd;
            click(odd);
            if (pty.ReadExact(commandBytes).size() != commandBytes) {
                state.SkipWithError("command did not arrive");
                break;
            }
        }
        if (!errors.isEmpty()) state.SetLabel(errors.join("; ").toStdString());
    }

    test::TPtyPair pty;
    QTemporaryDir dir;
    std::string folder;
    QStringList errors;
    std::unique_ptr<TProgram> program;
};

void BM_StepButtonToLastByte(benchmark::State &state) {
    TConnectedAor7030 rig;
    TForm1 &form = *rig.program->Form1;
    rig.Measure(state, 11, [&](bool odd) { (odd ? form.Button2 : form.Button1)->click(); });
}
BENCHMARK(BM_StepButtonToLastByte)->Unit(benchmark::kMicrosecond);

void BM_PresetToLastByte(benchmark::State &state) {
    TConnectedAor7030 rig;
    TForm1 &form = *rig.program->Form1;
    // Mem3 and Mem4 hold 15440 and 6095: every press changes the frequency.
    rig.Measure(state, 11, [&](bool odd) { form.Mem[odd ? 2 : 3]->click(); });
}
BENCHMARK(BM_PresetToLastByte)->Unit(benchmark::kMicrosecond);

void BM_AttenuatorChoiceToLastByte(benchmark::State &state) {
    TConnectedAor7030 rig;
    TForm1 &form = *rig.program->Form1;
    rig.Measure(state, 5, [&](bool odd) {
        const int index = odd ? 5 : 0;
        form.cbatt->setCurrentIndex(index);
        emit form.cbatt->activated(index);
    });
}
BENCHMARK(BM_AttenuatorChoiceToLastByte)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drmq
