// Reads EiBi's schedule list (semicolon CSV, Latin-1, a header row): its DRM
// rows, those whose station name ends in " DIGITAL". Pure, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <string_view>
#include <vector>

namespace drmq {

// The DRM entries valid on the day of `utcNow`. Days become the weekday
// set; "irr", "alt", "tent", "test" and other words keep the word as the
// Days text and the irregular mark (never "every day"); a dated day ("7Apr")
// counts on that date only; rows outside their start/stop dates are left out.
std::vector<ScheduleEntry> ParseEibiList(std::string_view bytes, double utcNow);

} // namespace drmq
