// The level chart with a year of nightly reception logs (365 blocks of 685
// minutes, about 250,000 minute lines): reading the log back, and opening the
// chart from the main window (Alt+G) with the sample schedule naming stations.
#include "app/Program.h"
#include "core/UtcClock.h"
#include "logging/LevelChartWindow.h"
#include "logging/LevelLogParser.h"
#include "logging/LogFormat.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace drmq {
namespace {

constexpr int kNights = 365;
constexpr int kMinutesPerNight = 685;

std::string YearOfNightlyBlocks() {
    std::string text;
    const double firstStart = EncodeDateTime({2024, 1, 1, 18, 30, 5, 0});
    for (int night = 0; night < kNights; ++night) {
        text += LogHeader(firstStart + night, night % 2 ? "6095" : "7325", "FRG100");
        for (int m = 0; m < kMinutesPerNight; ++m)
            text += LogMinuteLine(static_cast<std::uint16_t>(m), 30 + (m * 7 + night) % 25);
        text += LogClosingLines(30.0, 54.0);
    }
    return text;
}

void BM_ParseYearOfNightlyLog(benchmark::State &state) {
    const std::string text = YearOfNightlyBlocks();
    std::size_t minutes = 0;
    for (auto _ : state) {
        const TLevelLog log = ParseLevelLog(text);
        minutes = 0;
        for (const TLevelBlock &block : log.Blocks) minutes += block.Minutes.size();
        benchmark::DoNotOptimize(minutes);
    }
    state.counters["minute_lines"] = static_cast<double>(minutes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseYearOfNightlyLog)->Unit(benchmark::kMillisecond);

void BM_OpenLevelChartWithYearLog(benchmark::State &state) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    std::ofstream(folder + "DRMQuodra.ini", std::ios::binary) << "[Settings]\r\nUpdate=0\r\n";
    std::filesystem::copy_file(DRMQ_SOURCE_DIR "/data/DRMSchedule.ini", folder + "DRMSchedule.ini");
    std::ofstream(folder + "wwv.txt", std::ios::binary) << "";
    std::ofstream(folder + "DRMQuodra.log", std::ios::binary) << YearOfNightlyBlocks();
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    {
        TForm1Options options;
        options.ProgramFolder = folder;
        options.ShowErrorBox = [](const QString &) {};
        options.StartTimers = false;
        TProgram program(options);
        TForm1 &form = *program.Form1;
        form.show();
        QApplication::processEvents();
        for (auto _ : state) {
            form.ShowLevelChart();
            // Drawn once, as the user first sees it.
            form.LevelChart->repaint();
            QApplication::processEvents();
            benchmark::DoNotOptimize(form.LevelChart->Log().Blocks.size());
            state.PauseTiming();
            form.LevelChart.reset();
            QApplication::processEvents();
            state.ResumeTiming();
        }
    }
    std::filesystem::current_path(previous);
}
BENCHMARK(BM_OpenLevelChartWithYearLog)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drmq
