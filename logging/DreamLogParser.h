// Reads the Dream decoder's minute log "DreamLog.txt": blocks opened by
// ">>>>" with their start time and frequency, one line a minute
// (MINUTE SNR SYNC AUDIO TYPE [RXL]), closed by "<<<<" after its SNR
// minimum and maximum. What cannot be read is skipped. Pure, any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

struct TDreamMinute {
    std::uint16_t Minute = 0; // counted from the block's start
    double SnrDb = 0.0;
    bool Sync = false; // Dream was in sync during the minute
    int AudioOk = 0;   // audio frames decoded without error
    bool operator==(const TDreamMinute &) const = default;
};

struct TDreamBlock {
    double StartUtc = 0.0;    // days, whole seconds
    std::string FrequencyKhz; // as Dream wrote it, may be empty
    std::vector<TDreamMinute> Minutes;
    std::uint16_t MaxMinute = 0; // the highest minute index, for quick searches
    bool Closed = false;         // "<<<<" was read
    double MinuteUtc(const TDreamMinute &m) const { return StartUtc + m.Minute / 1440.0; }
};

std::vector<TDreamBlock> ParseDreamLog(std::string_view bytes);

// One of Dream's minutes at the UTC time it began.
struct TDreamPoint {
    double Utc = 0.0;
    TDreamMinute Minute;
};
// Dream's minutes that began at or after fromUtc and before toUtc, in time order.
std::vector<TDreamPoint> DreamMinutesBetween(const std::vector<TDreamBlock> &blocks, double fromUtc, double toUtc);
// Dream's minute that has its middle inside the minute beginning at utc.
std::optional<TDreamPoint> DreamMinuteAt(const std::vector<TDreamBlock> &blocks, double utc);

} // namespace drmq
