#include "logging/LevelCsv.h"

#include "logging/LogFormat.h"

#include <cstdio>

namespace drmq {

namespace {
// A field with a comma, quote or line end goes in quotes, quotes doubled.
std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}
} // namespace

std::string LevelCsv(const std::vector<const TLevelBlock *> &blocks) {
    std::string csv = "UTC time,kHz,level\r\n";
    for (const TLevelBlock *block : blocks) {
        const std::string khz = CsvField(block->FrequencyKhz);
        for (const TMinuteLevel &minute : block->Minutes) {
            char level[32];
            std::snprintf(level, sizeof level, "%.15g", minute.Level);
            csv += LogDateTimeText(block->MinuteUtc(minute)) + "," + khz + "," + level + "\r\n";
        }
    }
    return csv;
}

} // namespace drmq
