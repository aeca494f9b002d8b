// The KiwiSDR station digest as a server sends it; the entries must load
// back from a written schedule file.
#include "FuzzInput.h"

#include "schedule/KiwiList.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleMerge.h"
#include "schedule/ScheduleWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::vector<ScheduleEntry> entries = ParseKiwiList(fuzz::Text(data, size));
    const ScheduleTable merged = MergeScheduleLists({entries});
    if (ParseSchedule(FormatScheduleFile(merged)).EntryCount() != merged.EntryCount()) std::abort();
    return 0;
}
