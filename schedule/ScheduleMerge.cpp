#include "schedule/ScheduleMerge.h"

#include "schedule/ListedEntry.h"
#include "schedule/ScheduleSource.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace drmq {

namespace {
constexpr int kDayMinutes = 24 * 60;

std::optional<int> Minutes(std::string_view hhmm) {
    if (hhmm.size() != 4 || !AllDigits(hhmm)) return std::nullopt;
    const int minutes = ((hhmm[0] - '0') * 10 + (hhmm[1] - '0')) * 60 + (hhmm[2] - '0') * 10 + (hhmm[3] - '0');
    return minutes <= kDayMinutes ? std::optional<int>(minutes) : std::nullopt;
}

// The minutes of the day an entry is on air, as at most two spans (one
// before and one after midnight).
struct TSpans {
    int Count = 0;
    int From[2] = {}, To[2] = {};
};

TSpans SpansOf(const ScheduleEntry &entry) {
    TSpans spans;
    const auto start = Minutes(entry.StartTime), stop = Minutes(entry.StopTime);
    if (!start || !stop) return spans;
    if (*start < *stop) {
        spans = {1, {*start}, {*stop}};
    } else {
        spans = {2, {*start, 0}, {kDayMinutes, *stop}};
    }
    return spans;
}

bool TimesOverlap(const ScheduleEntry &a, const ScheduleEntry &b) {
    const TSpans x = SpansOf(a), y = SpansOf(b);
    for (int i = 0; i < x.Count; ++i)
        for (int j = 0; j < y.Count; ++j)
            if (x.From[i] < y.To[j] && y.From[j] < x.To[i]) return true;
    return false;
}

bool DaysOverlap(const ScheduleEntry &a, const ScheduleEntry &b) {
    // An irregular entry has no known days: it may meet any.
    const unsigned x = a.Sources & kIrregularBit ? kEveryDay : WeekdaysOfField(a.Days);
    const unsigned y = b.Sources & kIrregularBit ? kEveryDay : WeekdaysOfField(b.Days);
    return (x & y) != 0;
}

template <std::size_t N> void FillEmpty(TFieldText<N> &field, const TFieldText<N> &other) {
    if (field.View().empty()) field = other.View();
}

void FillFrom(ScheduleEntry &merged, const ScheduleEntry &other) {
    if (merged.PowerKW.View().empty() || merged.PowerKW == "?") merged.PowerKW = other.PowerKW.View();
    FillEmpty(merged.Target, other.Target);
    FillEmpty(merged.Programme, other.Programme);
    FillEmpty(merged.Language, other.Language);
    FillEmpty(merged.Site, other.Site);
    FillEmpty(merged.Country, other.Country);
    merged.Sources |= other.Sources & ~kIrregularBit;
}

std::string RepeatKey(const ScheduleEntry &e) {
    std::string key;
    for (std::string_view field : {e.StartTime.View(), e.StopTime.View(), e.Days.View(), e.FrequencyKHz.View(),
                                   e.Target.View(), e.PowerKW.View(), e.Programme.View(), e.Language.View(),
                                   e.Site.View(), e.Country.View()})
        key.append(field).push_back('\n');
    return key;
}
} // namespace

ScheduleTable MergeScheduleLists(const std::vector<std::vector<ScheduleEntry>> &lists) {
    ScheduleTable table;
    // Entry indices by frequency, so each entry is compared only with its own frequency.
    std::unordered_map<std::string, std::vector<size_t>> byFrequency;
    for (const std::vector<ScheduleEntry> &list : lists) {
        std::unordered_set<std::string> seen;
        for (const ScheduleEntry &entry : list) {
            if (!seen.insert(RepeatKey(entry)).second) continue;
            const std::uint8_t own = entry.Sources & ~kIrregularBit;
            std::vector<size_t> &sameFrequency = byFrequency[std::string(entry.FrequencyKHz.View())];
            bool merged = false;
            for (size_t index : sameFrequency) {
                ScheduleEntry &candidate = table.Entries[index];
                // Entries of one list are never one another's counterpart.
                if ((candidate.Sources & ~kIrregularBit & ~own) == 0) continue;
                if (!TimesOverlap(candidate, entry) || !DaysOverlap(candidate, entry)) continue;
                FillFrom(candidate, entry);
                merged = true;
                break;
            }
            if (merged || table.Entries.size() >= ScheduleTable::kCapacity) continue;
            sameFrequency.push_back(table.Entries.size());
            table.Entries.push_back(entry);
        }
    }
    return table;
}

} // namespace drmq
