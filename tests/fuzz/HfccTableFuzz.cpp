// HFCC's fixed-width season table, with the input also standing for each
// reference table; the entries must load back from a written schedule file.
#include "FuzzInput.h"

#include "schedule/HfccList.h"
#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleMerge.h"
#include "schedule/ScheduleWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view text = fuzz::Text(data, size);
    const std::vector<ScheduleEntry> entries = ParseHfccTable(text, {text, text, text, text}, 46183.5);
    const ScheduleTable merged = MergeScheduleLists({entries});
    if (ParseSchedule(FormatScheduleFile(merged)).EntryCount() != merged.EntryCount()) std::abort();
    return 0;
}
