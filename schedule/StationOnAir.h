// Which programme of the schedule was on air on a frequency at an instant,
// to name the station of a logged reception. Pure, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <string_view>

namespace drmq {

// The programme field of the first entry on that frequency (kHz text, blanks
// ignored) that counts at the instant (UTC days); empty when none does.
std::string_view StationOnAir(const ScheduleTable &table, std::string_view frequencyKhz, double utc);

} // namespace drmq
