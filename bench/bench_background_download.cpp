// Start-up while the schedule server stalls: time until the window is shown,
// and the UI thread's longest pause while a sample schedule downloads and is
// loaded in the background.
#include "app/Program.h"
#include "support/HttpTestServer.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// A program folder whose settings fetch both files from the server.
std::string UpdatingFolder(const QTemporaryDir &dir, const drmq::test::HttpTestServer &server) {
    const std::string folder = dir.path().toStdString() + "/";
    std::ofstream(folder + "DRMQuodra.ini", std::ios::binary)
        << "[Settings]\r\nUpdate=1\r\nSchedule sources=drmrx\r\nSchedule URL=" << server.Url("/DRMSchedule.ini")
        << "\r\nBulletin URL=" << server.Url("/wwv.txt") << "\r\n";
    std::filesystem::copy_file(DRMQ_SOURCE_DIR "/data/DRMSchedule.ini", folder + "DRMSchedule.ini");
    return folder;
}

std::unique_ptr<drmq::TProgram> StartProgram(const std::string &folder) {
    drmq::TForm1Options options;
    options.ProgramFolder = folder;
    options.ShowErrorBox = [](const QString &) {};
    auto program = std::make_unique<drmq::TProgram>(options);
    program->Form1->show();
    QApplication::processEvents();
    return program;
}

void BM_StartupToWindowShownWhileServerStalls(benchmark::State &state) {
    drmq::test::HttpTestServer server;
    server.Hold();
    QTemporaryDir dir;
    const std::string folder = UpdatingFolder(dir, server);
    for (auto _ : state) {
        auto program = StartProgram(folder);
        benchmark::DoNotOptimize(program->Form1->isVisible());
        state.PauseTiming();
        // Closing cancels the stalled download.
        program.reset();
        state.ResumeTiming();
    }
    server.Release();
}
BENCHMARK(BM_StartupToWindowShownWhileServerStalls)->Unit(benchmark::kMillisecond);

void BM_LongestUiPauseDuringDownload(benchmark::State &state) {
    drmq::test::HttpTestServer server;
    QTemporaryDir dir;
    const std::string folder = UpdatingFolder(dir, server);
    std::ifstream sample(DRMQ_SOURCE_DIR "/data/DRMSchedule.ini", std::ios::binary);
    // Another schedule than the one on disk, so that it is written and loaded.
    const std::string schedule = std::string(std::istreambuf_iterator<char>(sample), {}) + "\r\n";
    server.SetReplyFor("/DRMSchedule.ini", drmq::test::HttpTestServer::OkReply(schedule));
    Clock::duration longest{};
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy_file(DRMQ_SOURCE_DIR "/data/DRMSchedule.ini", folder + "DRMSchedule.ini",
                                   std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        auto program = StartProgram(folder);
        while (program->Form1->Downloads.Running()) {
            const auto before = Clock::now();
            QApplication::processEvents();
            longest = std::max(longest, Clock::now() - before);
        }
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
    state.counters["LongestUiPause_ms"] = std::chrono::duration<double, std::milli>(longest).count();
}
BENCHMARK(BM_LongestUiPauseDuringDownload)->Unit(benchmark::kMillisecond);

} // namespace
