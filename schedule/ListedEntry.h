// Pieces the schedule list parsers share: building a schedule entry from the
// fields of a foreign list, the weekday set as "DRMSchedule.ini" writes it,
// and calendar checks against today's date. Pure, any thread.
#pragma once

#include "schedule/ScheduleSource.h"
#include "schedule/ScheduleTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace drmq {

// A list is never read past this many DRM entries (the schedule's own room).
inline constexpr std::size_t kMaxListedEntries = ScheduleTable::kCapacity;

// Weekdays as bits, bit 0 = Sunday ... bit 6 = Saturday.
inline constexpr unsigned kEveryDay = 0x7F;
// "1111111" order S M T W T F S.
std::string DaysField(unsigned weekdays);
// The weekday bits of a "Days[SMTWTFS]" text: "0000000" means every day;
// a text that is not seven 0/1 digits (an irregular mark) has none.
unsigned WeekdaysOfField(std::string_view days);

std::string_view TrimBlanks(std::string_view text);
// Only the digits 0-9, and at least one.
bool AllDigits(std::string_view text);
// ASCII letters made small, as the lists' words and file names compare.
std::string LowerAscii(std::string_view text);

// A calendar date without its year, compared as month * 100 + day.
struct TMonthDay {
    int Month = 0, Day = 0;
    int Key() const { return Month * 100 + Day; }
};
TMonthDay MonthDayOf(double utcNow);
// Whether today lies within from..to, both included; a range may run over
// New Year (from after to).
bool WithinMonthDays(TMonthDay today, TMonthDay from, TMonthDay to);

struct TListedFields {
    std::string_view Start, Stop; // hhmm
    std::string Days;             // "Days[SMTWTFS]" text
    std::string_view FrequencyKHz;
    std::string Target, Power, Programme, Language, Site, Country;
};
// The entry of one list row, fields cut to the schedule file's widths and
// marked with the list it came from.
ScheduleEntry MakeListedEntry(const TListedFields &fields, TScheduleSource source);

} // namespace drmq
