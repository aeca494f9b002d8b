#include "schedule/ListedEntry.h"

#include "core/UtcClock.h"

#include <algorithm>

namespace drmq {

std::string DaysField(unsigned weekdays) {
    std::string text(7, '0');
    for (unsigned d = 0; d < 7; ++d)
        if (weekdays & (1u << d)) text[d] = '1';
    return text;
}

unsigned WeekdaysOfField(std::string_view days) {
    if (days.size() != 7) return 0;
    unsigned weekdays = 0;
    for (unsigned d = 0; d < 7; ++d) {
        if (days[d] == '1') weekdays |= 1u << d;
        else if (days[d] != '0') return 0;
    }
    return weekdays == 0 ? kEveryDay : weekdays;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

TMonthDay MonthDayOf(double utcNow) {
    const DateTimeParts parts = DecodeDateTime(utcNow);
    return {parts.month, parts.day};
}

bool WithinMonthDays(TMonthDay today, TMonthDay from, TMonthDay to) {
    if (from.Key() <= to.Key()) return from.Key() <= today.Key() && today.Key() <= to.Key();
    return today.Key() >= from.Key() || today.Key() <= to.Key();
}

namespace {
// A value on one line of the schedule file: control characters become blanks.
template <std::size_t N> void SetField(TFieldText<N> &field, std::string_view text) {
    std::string line(TrimBlanks(text).substr(0, N));
    for (char &c : line)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    field = line;
}
} // namespace

ScheduleEntry MakeListedEntry(const TListedFields &fields, TScheduleSource source) {
    ScheduleEntry entry;
    SetField(entry.StartTime, fields.Start);
    SetField(entry.StopTime, fields.Stop);
    SetField(entry.Days, fields.Days);
    SetField(entry.FrequencyKHz, fields.FrequencyKHz);
    SetField(entry.Target, fields.Target);
    SetField(entry.PowerKW, fields.Power.empty() ? std::string_view("?") : std::string_view(fields.Power));
    SetField(entry.Programme, fields.Programme);
    SetField(entry.Language, fields.Language);
    SetField(entry.Site, fields.Site);
    SetField(entry.Country, fields.Country);
    entry.Sources = SourceBit(source);
    return entry;
}

} // namespace drmq
