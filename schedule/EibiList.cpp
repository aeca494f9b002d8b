#include "schedule/EibiList.h"

#include "core/UtcClock.h"
#include "schedule/EibiCodes.h"
#include "schedule/ListedEntry.h"

#include <array>
#include <cctype>
#include <optional>
#include <string>

namespace drmq {

namespace {
constexpr std::string_view kDigitalSuffix = " DIGITAL";
constexpr std::array<std::string_view, 7> kDayNames = {"su", "mo", "tu", "we", "th", "fr", "sa"};
constexpr std::array<std::string_view, 12> kMonthNames = {"jan", "feb", "mar", "apr", "may", "jun",
                                                          "jul", "aug", "sep", "oct", "nov", "dec"};

std::optional<unsigned> DayIndex(std::string_view name) {
    for (unsigned d = 0; d < kDayNames.size(); ++d)
        if (name == kDayNames[d]) return d;
    return std::nullopt;
}

// "Mo-Fr", "Su-Fr" (wrapping), "Tu,Th", "Sa", "1245" (1 = Monday); nothing
// when the text is no weekday set.
std::optional<unsigned> WeeklyDays(const std::string &days) {
    if (days.empty()) return kEveryDay;
    if (AllDigits(days)) {
        unsigned set = 0;
        for (char c : days) {
            if (c < '1' || c > '7') return std::nullopt;
            set |= 1u << ((c - '0') % 7);
        }
        return set;
    }
    unsigned set = 0;
    std::string_view rest = days;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        const auto first = DayIndex(part.substr(0, 2));
        if (!first) return std::nullopt;
        if (part.size() == 2) {
            set |= 1u << *first;
            continue;
        }
        const auto last = part.size() == 5 && part[2] == '-' ? DayIndex(part.substr(3)) : std::nullopt;
        if (!last) return std::nullopt;
        for (unsigned d = *first;; d = (d + 1) % 7) {
            set |= 1u << d;
            if (d == *last) break;
        }
    }
    return set;
}

// "7Apr" as month and day; nothing when the text is no such date.
std::optional<TMonthDay> DatedDay(const std::string &days) {
    size_t digits = 0;
    while (digits < days.size() && std::isdigit(static_cast<unsigned char>(days[digits]))) ++digits;
    if (digits < 1 || digits > 2 || days.size() != digits + 3) return std::nullopt;
    for (int m = 0; m < 12; ++m)
        if (days.substr(digits) == kMonthNames[static_cast<size_t>(m)])
            return TMonthDay{m + 1, std::stoi(days.substr(0, digits))};
    return std::nullopt;
}

// DDMM; nothing for an empty or other text (EiBi writes "[0626]" for a
// last-heard month, which is no limit).
std::optional<TMonthDay> LimitDate(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() != 4 || !AllDigits(text)) return std::nullopt;
    return TMonthDay{(text[2] - '0') * 10 + (text[3] - '0'), (text[0] - '0') * 10 + (text[1] - '0')};
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const size_t semicolon = line.find(';');
        fields.push_back(line.substr(0, semicolon));
        if (semicolon == std::string_view::npos) return fields;
        line.remove_prefix(semicolon + 1);
    }
}

// The kHz as a whole number's digits ("7425", "16.4" gives "16").
std::string_view WholeKHz(std::string_view text) {
    text = TrimBlanks(text);
    return text.substr(0, text.find('.'));
}

struct TRowDays {
    std::string Field;
    bool Irregular = false;
};

// The Days text of a row valid today, or nothing when it is not.
std::optional<TRowDays> DaysOfRow(std::string_view daysText, double utcNow) {
    const std::string days = LowerAscii(TrimBlanks(daysText));
    if (const auto weekly = WeeklyDays(days)) return TRowDays{DaysField(*weekly), false};
    if (const auto dated = DatedDay(days)) {
        if (dated->Key() != MonthDayOf(utcNow).Key()) return std::nullopt;
        return TRowDays{DaysField(1u << (DayOfWeek(utcNow) - 1)), false};
    }
    return TRowDays{days.substr(0, 7), true};
}
} // namespace

std::vector<ScheduleEntry> ParseEibiList(std::string_view bytes, double utcNow) {
    std::vector<ScheduleEntry> entries;
    const TMonthDay today = MonthDayOf(utcNow);
    while (!bytes.empty() && entries.size() < kMaxListedEntries) {
        const size_t lf = bytes.find('\n');
        const std::string_view line = TrimBlanks(bytes.substr(0, lf));
        bytes = lf == std::string_view::npos ? std::string_view{} : bytes.substr(lf + 1);
        const std::vector<std::string_view> f = SplitFields(line);
        if (f.size() < 7) continue;
        std::string_view station = TrimBlanks(f[4]);
        if (station.size() <= kDigitalSuffix.size() || !station.ends_with(kDigitalSuffix)) continue;
        station.remove_suffix(kDigitalSuffix.size());
        const std::string_view time = TrimBlanks(f[1]);
        const std::string_view khz = WholeKHz(f[0]);
        if (time.size() != 9 || time[4] != '-' || !AllDigits(khz)) continue;
        const auto from = f.size() > 9 ? LimitDate(f[9]) : std::nullopt;
        const auto to = f.size() > 10 ? LimitDate(f[10]) : std::nullopt;
        if (!WithinMonthDays(today, from.value_or(TMonthDay{1, 1}), to.value_or(TMonthDay{12, 31}))) continue;
        const auto days = DaysOfRow(f[2], utcNow);
        if (!days) continue;
        // "/UZB" in the remarks: the transmitter stands in that country.
        const std::string_view remarks = f.size() > 7 ? TrimBlanks(f[7]) : std::string_view{};
        const std::string_view country =
            remarks.starts_with('/') ? remarks.substr(1, remarks.find('-') - 1) : TrimBlanks(f[3]);
        TListedFields fields;
        fields.Start = time.substr(0, 4);
        fields.Stop = time.substr(5, 4);
        fields.Days = days->Field;
        fields.FrequencyKHz = khz;
        fields.Target = EibiTargetName(TrimBlanks(f[6]));
        fields.Programme = station;
        fields.Language = EibiLanguageName(TrimBlanks(f[5]));
        fields.Country = EibiCountryName(country);
        ScheduleEntry &entry = entries.emplace_back(MakeListedEntry(fields, TScheduleSource::Eibi));
        if (days->Irregular) entry.Sources |= kIrregularBit;
    }
    return entries;
}

} // namespace drmq
