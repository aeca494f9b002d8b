// Schedule with 20000 generated entries: loading the file, and one full
// evaluation with "All" and "Preview" ticked, sorted by kHz, grid rebuilt.
#include "app/Program.h"
#include "schedule/ColorsDialog.h"
#include "schedule/ScheduleGridModel.h"
#include "schedule/ScheduleLoader.h"
#include "support/ScheduleFileBuilder.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>

namespace drmq {
namespace {

constexpr int kEntries = 20000;

// A program folder holding a 20000-entry schedule and settings that keep
// the start-up off the network.
struct TScheduleBenchFolder {
    QTemporaryDir dir;
    std::string folder = dir.path().toStdString() + "/";

    TScheduleBenchFolder() {
        std::ofstream(folder + "DRMSchedule.ini", std::ios::binary)
            << test::ScheduleFileText(test::GeneratedSchedule(kEntries));
        std::ofstream(folder + "DRMQuodra.ini", std::ios::binary) << "[Settings]\r\nUpdate=0\r\n";
    }
};

void BM_ScheduleLoad(benchmark::State &state) {
    TScheduleBenchFolder files;
    const std::string path = files.folder + "DRMSchedule.ini";
    size_t heap = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        ScheduleTable table = LoadScheduleFile(path);
        heap = mallinfo2().uordblks - before;
        benchmark::DoNotOptimize(table.Entries.data());
        if (table.EntryCount() != kEntries) state.SkipWithError("wrong entry count");
    }
    state.counters["entries"] = kEntries;
    state.counters["table_MB"] = static_cast<double>(heap) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ScheduleLoad)->Unit(benchmark::kMillisecond);

void BM_ScheduleEvaluateAllPreviewSortedByKhz(benchmark::State &state) {
    TScheduleBenchFolder files;
    TForm1Options options;
    options.ProgramFolder = files.folder;
    // Monday 10:00:30 UTC.
    options.Clock = std::make_shared<TManualClock>(EncodeDateTime(DateTimeParts{2024, 3, 4, 10, 0, 30, 0}));
    options.ShowErrorBox = [](const QString &) {};
    options.ShowMessage = [](const QString &) {};
    options.StartTimers = false;
    TProgram program(options);
    TForm1 &form = *program.Form1;
    form.show();
    form.chkshowall->setChecked(true);
    form.chknext->setChecked(true);
    form.rb[2]->setChecked(true);
    for (auto _ : state) form.DRMSchedule();
    state.counters["rows"] = form.ScheduleModel->RowCount() - 1;
}
BENCHMARK(BM_ScheduleEvaluateAllPreviewSortedByKhz)->Unit(benchmark::kMillisecond);

// The parts of one evaluation: the two passes, then the kHz sort.
void BM_ScheduleEvaluationPasses(benchmark::State &state) {
    ScheduleTable table = ParseSchedule(test::ScheduleFileText(test::GeneratedSchedule(kEntries)));
    const double now = EncodeDateTime(DateTimeParts{2024, 3, 4, 10, 0, 30, 0});
    TEvaluationOptions options;
    options.ShowAll = true;
    options.Preview = true;
    for (auto _ : state) benchmark::DoNotOptimize(EvaluateSchedule(table, now, options).Rows.data());
}
BENCHMARK(BM_ScheduleEvaluationPasses)->Unit(benchmark::kMillisecond);

void BM_ScheduleSortByKhz(benchmark::State &state) {
    ScheduleTable table = ParseSchedule(test::ScheduleFileText(test::GeneratedSchedule(kEntries)));
    TEvaluationOptions options;
    options.ShowAll = true;
    options.Preview = true;
    const TEvaluation evaluation =
        EvaluateSchedule(table, EncodeDateTime(DateTimeParts{2024, 3, 4, 10, 0, 30, 0}), options);
    for (auto _ : state) {
        std::vector<TScheduleRow> rows = evaluation.Rows;
        SortGrid(rows, table, 2, QCollator());
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_ScheduleSortByKhz)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drmq
