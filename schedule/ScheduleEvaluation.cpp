#include "schedule/ScheduleEvaluation.h"

#include "core/RunErrors.h"
#include "core/UtcClock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace drmq {

namespace {
constexpr long long kMsPerMinute = 60000;
constexpr long long kMsPerDay = 86400000;
// "2400" ends the day at 23:59:59.059.
constexpr long long kEndOfDayMs = 86399059;

// An instant split into what the entry test looks at; all in whole ms so
// that no rounding moves a time across a minute boundary.
struct TInstant {
    long long Ms = 0;      // since 1899-12-30 00:00
    long long TimeMs = 0;  // time of day
    int Weekday = 1;       // 1 = Sunday ... 7 = Saturday

    static TInstant FromMs(long long ms) {
        TInstant t;
        t.Ms = ms;
        long long day = ms / kMsPerDay;
        if (ms % kMsPerDay < 0) --day;
        t.TimeMs = ms - day * kMsPerDay;
        t.Weekday = DayOfWeek(static_cast<double>(day));
        return t;
    }
    static TInstant FromDays(double days) { return FromMs(std::llround(days * kMsPerDay)); }
    TInstant PlusMinutes(long long minutes) const { return FromMs(Ms + minutes * kMsPerMinute); }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// hhmm as ms of the day; nothing when the text is not a valid time.
std::optional<long long> ClockTimeMs(std::string_view text) {
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
    const int hours = (text[0] - '0') * 10 + (text[1] - '0');
    const int minutes = (text[2] - '0') * 10 + (text[3] - '0');
    if (hours > 23 || minutes > 59) return std::nullopt;
    return (hours * 60LL + minutes) * kMsPerMinute;
}

struct TSpanTimes {
    long long StartMs = 0;
    long long StopMs = 0;
};

std::optional<TSpanTimes> EntryTimes(const ScheduleEntry &entry) {
    const auto start = ClockTimeMs(entry.StartTime);
    const auto stop = entry.StopTime == "2400" ? std::optional<long long>(kEndOfDayMs) : ClockTimeMs(entry.StopTime);
    if (!start || !stop) return std::nullopt;
    return TSpanTimes{*start, *stop};
}

bool RunsOnWeekday(std::string_view days, int weekday) {
    if (days == "0000000") return true;
    return static_cast<size_t>(weekday) <= days.size() && days[static_cast<size_t>(weekday) - 1] == '1';
}

bool CountsAt(const ScheduleEntry &entry, const TSpanTimes &times, const TInstant &at, bool powerTest) {
    const long long ts = times.StartMs, te = times.StopMs, tr = at.TimeMs;
    int weekday = at.Weekday;
    // After midnight the transmission still belongs to the day it began.
    bool tail = false;
    if (te < ts && tr < te) {
        weekday = weekday == 1 ? 7 : weekday - 1;
        tail = true;
    }
    if (!RunsOnWeekday(entry.Days, weekday)) return false;
    const bool onTime = te > ts ? (ts <= tr && tr < te) : (tail || tr >= ts);
    if (!onTime) return false;
    return !powerTest || IsShownPower(entry.FrequencyKHz, entry.PowerKW);
}

// The preview reference: span minutes ahead, or the middle of a short
// transmission that starts and ends within the coming span.
TInstant PreviewReference(const TInstant &now, int span, const TSpanTimes &times) {
    const TInstant ahead = now.PlusMinutes(span);
    const long long ts = times.StartMs, te = times.StopMs;
    const long long duration = std::llabs(te - ts) / kMsPerMinute;
    if (span > duration && ts < te && now.TimeMs < ts && te < ahead.TimeMs) {
        const long long toStart = (ts - now.TimeMs) / kMsPerMinute;
        return now.PlusMinutes(toStart + duration / 2);
    }
    return ahead;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal number with nothing after it, not even a blank.
std::optional<double> StrictNumber(std::string_view text) {
    double value = 0;
    if (text.empty() || IsBlank(text.back()) || !TryStrToFloat(text, value)) return std::nullopt;
    return value;
}
} // namespace

std::string_view RowMarkText(TRowMark mark) {
    switch (mark) {
    case TRowMark::OnAir: return "onair";
    case TRowMark::Next: return "next";
    case TRowMark::None: break;
    }
    return "";
}

bool IsShownPower(std::string_view frequencyKHz, std::string_view powerKW) {
    const auto power = StrictNumber(powerKW);
    if (!power) return false;
    const double f = StrictNumber(frequencyKHz).value_or(0.0);
    const double p = *power;
    if (p < 11 && f < 2000) return false;
    if (p < 1 && f > 2000) return false;
    if (p < 10 && f > 25000) return false;
    return true;
}

bool EntryCountsAt(const ScheduleEntry &entry, double instant, bool powerTest) {
    const auto times = EntryTimes(entry);
    return times && CountsAt(entry, *times, TInstant::FromDays(instant), powerTest);
}

int PreviewSpanOf(std::string_view text) {
    int span = 0;
    if (!TryStrToInt(text, span)) span = 30;
    return std::clamp(span, 1, 60);
}

TEvaluation EvaluateSchedule(ScheduleTable &table, double now, const TEvaluationOptions &options) {
    TEvaluation result;
    const TInstant at = TInstant::FromDays(now);
    const int count = table.EntryCount();
    result.Rows.reserve(static_cast<size_t>(options.ShowAll ? count : count / 4));

    for (int i = 0; i < count; ++i) {
        ScheduleEntry &entry = table.Entries[static_cast<size_t>(i)];
        const auto times = EntryTimes(entry);
        const bool counts = times && CountsAt(entry, *times, at, options.PowerTest);
        entry.AirState = counts ? TAirState::OnAir : TAirState::OffAir;
        if (counts) ++result.OnAirCount;
        if (counts || options.ShowAll) result.Rows.push_back({i, counts ? TRowMark::OnAir : TRowMark::None});
    }

    if (!options.Preview) return result;
    const int span = std::clamp(options.PreviewSpan, 1, 60);
    for (int i = 0; i < count; ++i) {
        const ScheduleEntry &entry = table.Entries[static_cast<size_t>(i)];
        if (entry.AirState == TAirState::OnAir) continue;
        const auto times = EntryTimes(entry);
        if (!times || !CountsAt(entry, *times, PreviewReference(at, span, *times), options.PowerTest)) continue;
        result.Rows.push_back({i, TRowMark::Next});
        ++result.PreviewCount;
    }
    return result;
}

} // namespace drmq
