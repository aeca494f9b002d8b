// Reads the KiwiSDR DRM station digest: JSON with "//" comment lines,
// regions ("Europe": null) followed by stations ("Station_name": [url?,
// kHz, start, stop, ...] or kHz, [start, stop, start, stop]), times in
// decimal hours or "H:M", negative for a verified slot. Pure, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <string_view>
#include <vector>

namespace drmq {

// Every slot as an entry of every day; the region is the target.
std::vector<ScheduleEntry> ParseKiwiList(std::string_view bytes);

} // namespace drmq
