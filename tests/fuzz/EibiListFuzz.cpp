// EiBi's list as a server sends it, read on two days of the season, then
// merged and written as a schedule file, which must load back entry for entry.
#include "FuzzInput.h"

#include "schedule/EibiList.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleMerge.h"
#include "schedule/ScheduleWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    // 10 June 2026 and 1 January 2027, noon.
    for (double day : {46183.5, 46388.5}) {
        const std::vector<ScheduleEntry> entries = ParseEibiList(fuzz::Text(data, size), day);
        const ScheduleTable merged = MergeScheduleLists({entries});
        if (merged.EntryCount() > static_cast<int>(entries.size())) std::abort();
        if (ParseSchedule(FormatScheduleFile(merged)).EntryCount() != merged.EntryCount()) std::abort();
    }
    return 0;
}
