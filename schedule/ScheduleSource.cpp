#include "schedule/ScheduleSource.h"

#include "core/SameText.h"

namespace drmq {

std::string_view SourceName(TScheduleSource source) {
    switch (source) {
    case TScheduleSource::Drmrx: return "drmrx";
    case TScheduleSource::Hfcc: return "HFCC";
    case TScheduleSource::Eibi: return "EiBi";
    case TScheduleSource::Kiwisdr: return "KiwiSDR";
    }
    return {};
}

std::string_view SourceKey(TScheduleSource source) {
    switch (source) {
    case TScheduleSource::Drmrx: return "drmrx";
    case TScheduleSource::Hfcc: return "hfcc";
    case TScheduleSource::Eibi: return "eibi";
    case TScheduleSource::Kiwisdr: return "kiwisdr";
    }
    return {};
}

std::optional<TScheduleSource> SourceOfKey(std::string_view key) {
    for (TScheduleSource source : kScheduleSources)
        if (SameText(key, SourceKey(source))) return source;
    return std::nullopt;
}

std::uint8_t ParseSourceKeys(std::string_view text) {
    std::uint8_t sources = 0;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        std::string_view word = text.substr(0, comma);
        while (!word.empty() && word.front() == ' ') word.remove_prefix(1);
        while (!word.empty() && word.back() == ' ') word.remove_suffix(1);
        if (const auto source = SourceOfKey(word)) sources |= SourceBit(*source);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return sources;
}

std::string SourceKeysText(std::uint8_t sources) {
    std::string text;
    for (TScheduleSource source : kScheduleSources)
        if (sources & SourceBit(source)) text.append(text.empty() ? "" : ",").append(SourceKey(source));
    return text;
}

std::string SourcesCellText(std::uint8_t sources) {
    std::string text;
    for (TScheduleSource source : kScheduleSources)
        if (sources & SourceBit(source)) text.append(text.empty() ? "" : " ").append(SourceName(source));
    if (sources & kIrregularBit) text.append(text.empty() ? "" : " ").append("(irregular)");
    return text;
}

} // namespace drmq
