// The sources file beside the schedule, as found on disk: applied to the
// sample schedule, and written for the input read as a schedule.
#include "FuzzInput.h"

#include "schedule/ScheduleLoader.h"
#include "schedule/ScheduleWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view text = fuzz::Text(data, size);
    const std::string sample = "[DRMSchedule]\r\nStartStopTimeUTC=0600-0700\r\nDays[SMTWTFS]=1111111\r\n";
    ScheduleTable table = ParseSchedule(sample);
    ApplySourcesFile(table, sample, text);
    ScheduleTable own = ParseSchedule(text);
    for (ScheduleEntry &entry : own.Entries) entry.Sources = 0x85;
    ScheduleTable back = ParseSchedule(text);
    ApplySourcesFile(back, text, SourcesFileText(own, text));
    for (const ScheduleEntry &entry : back.Entries)
        if (entry.Sources != 0x85) std::abort();
    return 0;
}
