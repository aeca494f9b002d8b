// Start-up of the main window: from creating the forms to the window shown
// (offscreen, empty schedule), and the resident memory then.
#include "app/Program.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

void BM_StartupToWindowShown(benchmark::State &state) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    std::ofstream(folder + "DRMQuodra.ini", std::ios::binary) << "[Settings]\r\nUpdate=0\r\n";
    std::ofstream(folder + "DRMSchedule.ini", std::ios::binary) << "empty schedule\r\n";
    std::ofstream(folder + "wwv.txt", std::ios::binary) << "";
    long rss = 0;
    for (auto _ : state) {
        drmq::TForm1Options options;
        options.ProgramFolder = folder;
        options.ShowErrorBox = [](const QString &) {};
        drmq::TProgram program(options);
        program.Form1->show();
        QApplication::processEvents();
        rss = ResidentKiB();
        benchmark::DoNotOptimize(program.Form1->isVisible());
    }
    state.counters["RSS_MiB"] = static_cast<double>(rss) / 1024.0;
}
BENCHMARK(BM_StartupToWindowShown)->Unit(benchmark::kMillisecond);

} // namespace
