// Tuning latency per receiver family: from SetFreq (the end of a click on a
// schedule row) to the last byte of the command at the far end of a
// pseudo-terminal.
#include "BenchOptions.h"
#include "app/Program.h"
#include "rig/ReceiverModel.h"
#include "support/PtyPair.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>


namespace drmq {
namespace {

// Two frequencies tuned in turn, so every call changes the field.
struct TFamily {
    int model;
    const char *first;
    const char *second;
    size_t commandBytes;
};

void BM_SetFreqToLastByte(benchmark::State &state, TFamily family) {
    test::TPtyPair pty;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    bench::WriteReceiverFolder(folder, family.model, pty.DevicePath());
    QStringList errors;
    TProgram program(bench::QuietOptions(folder, errors));
    TForm1 &form = *program.Form1;
    form.checkaor->click();
    pty.ReadUntilQuiet(50);
    bool odd = false;
    for (auto _ : state) {
        odd = !odd;
        form.SetFreq(odd ? family.first : family.second);
        const std::string got = pty.ReadExact(family.commandBytes);
        if (got.size() != family.commandBytes) {
            state.SkipWithError("command did not arrive");
            break;
        }
    }
    form.checkaor->click();
    if (!errors.isEmpty()) state.SetLabel(errors.join("; ").toStdString());
}

BENCHMARK_CAPTURE(BM_SetFreqToLastByte, AOR7030, TFamily{rmAOR7030, "6095", "15440", 11})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SetFreqToLastByte, YaesuCat_FT847, TFamily{rmFT847, "6095", "15440", 5})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SetFreqToLastByte, RX320D, TFamily{rmRX320D, "6095", "15440", 8})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SetFreqToLastByte, Text_PCR1000, TFamily{rmPCR1000, "6095", "15440", 20})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SetFreqToLastByte, Text_NRD545, TFamily{rmNRD545, "6095", "15440", 12})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SetFreqToLastByte, CiV_ICOM, TFamily{rmICOM, "6095", "15440", 11})
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drmq
