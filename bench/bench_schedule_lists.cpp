// The schedule lists of a season: reading the real drmrx, EiBi and HFCC files
// and merging them into the schedule text (the download thread's work), and
// the UI thread's share when the merge arrives (table swapped, evaluated,
// grid drawn).
#include "app/Program.h"
#include "schedule/DownloadText.h"
#include "schedule/ScheduleGridModel.h"
#include "schedule/ScheduleMerge.h"
#include "schedule/ScheduleWriter.h"
#include "schedule/SourcesUpdate.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>

namespace drmq {
namespace {

// Friday 12 June 2026, 17:00:30 UTC.
const double kJune = EncodeDateTime(DateTimeParts{2026, 6, 12, 17, 0, 30, 0});

struct TRealLists {
    std::array<std::string, 3> Bytes;
    TRealLists() {
        const char *names[] = {"drmrx-format-DRMSchedule.ini", "a26allx2.zip", "sked-a26.csv"};
        for (size_t i = 0; i < Bytes.size(); ++i)
            TryReadFileBytes(std::string(DRMQ_SHARED_DATA "/schedules/") + names[i], Bytes[i]);
    }
    ScheduleTable Merged() const {
        std::vector<std::vector<ScheduleEntry>> lists;
        for (size_t i = 0; i < Bytes.size(); ++i) lists.push_back(ReadScheduleList(kScheduleSources[i], Bytes[i], kJune).Entries);
        return MergeScheduleLists(lists);
    }
};

void BM_ScheduleListsParseAndMerge(benchmark::State &state) {
    const TRealLists lists;
    int entries = 0;
    for (auto _ : state) {
        const ScheduleTable merged = lists.Merged();
        const std::string text = FormatScheduleFile(merged);
        benchmark::DoNotOptimize(text.data());
        entries = merged.EntryCount();
    }
    if (entries == 0) state.SkipWithError("nothing merged");
    state.counters["entries"] = entries;
}
BENCHMARK(BM_ScheduleListsParseAndMerge)->Unit(benchmark::kMillisecond);

void BM_ScheduleListsUiShare(benchmark::State &state) {
    const ScheduleTable merged = TRealLists().Merged();
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    std::ofstream(folder + "DRMSchedule.ini", std::ios::binary) << FormatScheduleFile(merged);
    std::ofstream(folder + "DRMQuodra.ini", std::ios::binary) << "[Settings]\r\nUpdate=0\r\nLow Power=1\r\n";
    TForm1Options options;
    options.ProgramFolder = folder;
    options.Clock = std::make_shared<TManualClock>(kJune);
    options.ShowErrorBox = [](const QString &) {};
    options.StartTimers = false;
    TProgram program(options);
    TForm1 &form = *program.Form1;
    form.show();
    form.chkshowall->setChecked(true);
    for (auto _ : state) {
        form.ReloadSchedule(merged);
        form.StringGrid1->viewport()->repaint();
    }
    state.counters["rows"] = form.ScheduleModel->RowCount() - 1;
}
BENCHMARK(BM_ScheduleListsUiShare)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drmq
