// The level chart with a year of nightly reception logs (365 blocks of 685
// minutes, about 250,000 minute lines): reading the log back, and opening the
// chart from the main window (Alt+G) with the sample schedule naming stations;
// Dream's minute log of such a year read and searched.
#include "app/Program.h"
#include "core/UtcClock.h"
#include "logging/DreamLogParser.h"
#include "logging/LevelChartWindow.h"
#include "logging/LevelLogParser.h"
#include "logging/LogFormat.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
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

// Dream's minute log of the same year: what the reader thread parses once a
// minute while a log runs, and picking one night's minutes out of it.
std::string YearOfDreamBlocks() {
    std::string text;
    const double firstStart = EncodeDateTime({2024, 1, 1, 18, 30, 9, 0});
    char line[96];
    for (int night = 0; night < kNights; ++night) {
        text += "\n>>>>\nDream\nSoftware Version 2.3\nStarttime (UTC)  " + LogDateTimeText(firstStart + night) +
                "\nFrequency        6095 kHz\nLatitude         \nLongitude        \n\n"
                "MINUTE  SNR     SYNC    AUDIO     TYPE\n";
        for (int m = 0; m < kMinutesPerNight; ++m) {
            std::snprintf(line, sizeof line, "  %04d  %5.1f  %5d  %6d  %8d\n", m, 5.0 + (m * 3 + night) % 20, m % 9 != 0,
                          m % 9 ? 100 : 0, 0);
            text += line;
        }
        text += "\nSNR min: 5.0, max: 24.0\n<<<<\n";
    }
    return text;
}

void BM_ParseYearOfDreamLog(benchmark::State &state) {
    const std::string text = YearOfDreamBlocks();
    std::size_t minutes = 0;
    for (auto _ : state) {
        const std::vector<TDreamBlock> blocks = ParseDreamLog(text);
        minutes = 0;
        for (const TDreamBlock &block : blocks) minutes += block.Minutes.size();
        benchmark::DoNotOptimize(minutes);
    }
    state.counters["minute_lines"] = static_cast<double>(minutes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseYearOfDreamLog)->Unit(benchmark::kMillisecond);

void BM_DreamMinutesOfOneNight(benchmark::State &state) {
    const std::vector<TDreamBlock> blocks = ParseDreamLog(YearOfDreamBlocks());
    const double night = EncodeDateTime({2024, 7, 1, 18, 30, 5, 0});
    for (auto _ : state) {
        const auto points = DreamMinutesBetween(blocks, night, night + kMinutesPerNight / 1440.0);
        benchmark::DoNotOptimize(points.size());
    }
}
BENCHMARK(BM_DreamMinutesOfOneNight)->Unit(benchmark::kMillisecond);

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
