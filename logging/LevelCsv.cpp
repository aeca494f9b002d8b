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

std::string LevelCsv(const std::vector<const TLevelBlock *> &blocks, const std::vector<TDreamBlock> &dream) {
    std::string csv = "UTC time,kHz,level,snr_db,audio_ok\r\n";
    for (const TLevelBlock *block : blocks) {
        const std::string khz = CsvField(block->FrequencyKhz);
        for (const TMinuteLevel &minute : block->Minutes) {
            const double utc = block->MinuteUtc(minute);
            char level[32];
            std::snprintf(level, sizeof level, "%.15g", minute.Level);
            std::string decoded = ",";
            if (const auto point = DreamMinuteAt(dream, utc)) {
                char snr[32];
                std::snprintf(snr, sizeof snr, "%.15g", point->Minute.SnrDb);
                decoded = std::string(snr) + "," + std::to_string(point->Minute.AudioOk);
            }
            csv += LogDateTimeText(utc) + "," + khz + "," + level + "," + decoded + "\r\n";
        }
    }
    return csv;
}

} // namespace drmq
