// The time axis of the level chart: hours counted from a block's first
// midnight, ticks at a round step, labels wrapping at 24 h. Pure, any thread.
#pragma once

#include <string>
#include <vector>

namespace drmq {

struct TTimeTick {
    double Hours = 0.0;
    std::string Label; // "22:00", "00:30"
};

struct TTimeAxis {
    double From = 0.0;
    double To = 24.0;
    std::vector<TTimeTick> Ticks; // From and To included
    bool operator==(const TTimeAxis &other) const { return From == other.From && To == other.To; }
};

// Hours of an instant (UTC days) counted from the midnight that begins the
// day of dayUtc, so a night's block runs on past 24 and dusk and dawn of
// different days line up.
double HoursSinceMidnight(double utc, double dayUtc);

// An axis that covers fromHours..toHours with at most about ten ticks.
TTimeAxis TimeOfDayAxis(double fromHours, double toHours);

} // namespace drmq
