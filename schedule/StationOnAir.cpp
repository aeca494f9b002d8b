#include "schedule/StationOnAir.h"

#include "schedule/ScheduleEvaluation.h"

namespace drmq {

namespace {
std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}
} // namespace

std::string_view StationOnAir(const ScheduleTable &table, std::string_view frequencyKhz, double utc) {
    const std::string_view wanted = Trimmed(frequencyKhz);
    if (wanted.empty()) return {};
    for (const ScheduleEntry &entry : table.Entries) {
        if (Trimmed(entry.FrequencyKHz) == wanted && EntryCountsAt(entry, utc, false))
            return Trimmed(entry.Programme);
    }
    return {};
}

} // namespace drmq
