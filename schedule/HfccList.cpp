#include "schedule/HfccList.h"

#include "core/Cp1252.h"
#include "core/UtcClock.h"
#include "schedule/ListedEntry.h"

#include <unordered_map>

namespace drmq {

namespace {
// Byte columns of the table, as its ruler line marks them.
struct TColumn {
    size_t At, Width;
};
constexpr TColumn kFreq{0, 5}, kStart{6, 4}, kStop{11, 4}, kCiraf{16, 30}, kSite{47, 3}, kPower{51, 4},
    kDays{72, 7}, kFromDate{80, 6}, kToDate{87, 6}, kMode{94, 1}, kLanguage{102, 10}, kAdmin{113, 3},
    kBroadcaster{117, 3};

std::string_view Cut(std::string_view line, TColumn column) {
    if (line.size() <= column.At) return {};
    return TrimBlanks(line.substr(column.At, column.Width));
}

template <class Each> void ForEachLine(std::string_view text, Each &&each) {
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!line.empty() && line.front() != ';') each(line);
    }
}

// Code in the first three bytes, the name from the fifth on (to `width` bytes).
using TNames = std::unordered_map<std::string, std::string>;
TNames ReadNames(std::string_view table, size_t width, bool utf8) {
    TNames names;
    if (table.starts_with("\xEF\xBB\xBF")) table.remove_prefix(3);
    ForEachLine(table, [&](std::string_view line) {
        if (line.size() < 5) return;
        std::string_view name = TrimBlanks(line.substr(4, width));
        std::string text = utf8 ? ToCp1252(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
                                : std::string(name);
        names.emplace(std::string(TrimBlanks(line.substr(0, 3))), std::move(text));
    });
    return names;
}

std::string NameOf(const TNames &names, std::string_view code) {
    const auto it = names.find(std::string(code));
    return it == names.end() ? std::string(code) : it->second;
}

// DDMMYY as a day count; nothing when the text is no such date.
std::optional<double> DateOf(std::string_view text) {
    if (text.size() != 6 || !AllDigits(text)) return std::nullopt;
    DateTimeParts parts;
    parts.day = (text[0] - '0') * 10 + (text[1] - '0');
    parts.month = (text[2] - '0') * 10 + (text[3] - '0');
    parts.year = 2000 + (text[4] - '0') * 10 + (text[5] - '0');
    if (parts.month < 1 || parts.month > 12 || parts.day < 1 || parts.day > 31) return std::nullopt;
    return EncodeDateTime(parts);
}

// "123457": 1 = Monday ... 7 = Sunday.
unsigned WeekdaysOf(std::string_view days) {
    unsigned set = 0;
    for (char c : days)
        if (c >= '1' && c <= '7') set |= 1u << ((c - '0') % 7);
    return set;
}

// The first site.txt column after the name: the site's administration.
constexpr TColumn kSiteAdmin{35, 3};
} // namespace

std::vector<ScheduleEntry> ParseHfccTable(std::string_view table, const THfccTables &tables, double utcNow) {
    const TNames sites = ReadNames(tables.Sites, 30, false);
    const TNames broadcasters = ReadNames(tables.Broadcasters, 60, false);
    const TNames admins = ReadNames(tables.Admins, 50, false);
    const TNames languages = ReadNames(tables.Languages, 40, true);
    TNames siteAdmins;
    ForEachLine(tables.Sites, [&](std::string_view line) {
        siteAdmins.emplace(std::string(Cut(line, {0, 3})), std::string(Cut(line, kSiteAdmin)));
    });
    const double today = static_cast<double>(static_cast<long long>(utcNow));

    std::vector<ScheduleEntry> entries;
    ForEachLine(table, [&](std::string_view line) {
        if (entries.size() >= kMaxListedEntries || Cut(line, kMode) != "N") return;
        const std::string_view khz = Cut(line, kFreq);
        const auto from = DateOf(Cut(line, kFromDate));
        const auto to = DateOf(Cut(line, kToDate));
        if (!AllDigits(khz) || (from && today < *from) || (to && today > *to)) return;
        const unsigned weekdays = WeekdaysOf(Cut(line, kDays));
        if (weekdays == 0) return;
        const std::string_view site = Cut(line, kSite);
        const auto siteAdmin = siteAdmins.find(std::string(site));
        const std::string_view admin =
            siteAdmin != siteAdmins.end() && !siteAdmin->second.empty() ? siteAdmin->second : Cut(line, kAdmin);
        TListedFields fields;
        fields.Start = Cut(line, kStart);
        fields.Stop = Cut(line, kStop);
        fields.Days = DaysField(weekdays);
        fields.FrequencyKHz = khz;
        fields.Target = std::string(Cut(line, kCiraf));
        fields.Power = std::string(Cut(line, kPower));
        fields.Programme = NameOf(broadcasters, Cut(line, kBroadcaster));
        fields.Language = NameOf(languages, Cut(line, kLanguage).substr(0, 3));
        fields.Site = NameOf(sites, site);
        fields.Country = NameOf(admins, admin);
        entries.push_back(MakeListedEntry(fields, TScheduleSource::Hfcc));
    });
    return entries;
}

} // namespace drmq
