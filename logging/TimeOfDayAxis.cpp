#include "logging/TimeOfDayAxis.h"

#include <cmath>
#include <cstdio>

namespace drmq {

double HoursSinceMidnight(double utc, double dayUtc) {
    return (utc - std::floor(dayUtc)) * 24.0;
}

TTimeAxis TimeOfDayAxis(double fromHours, double toHours) {
    constexpr double kSteps[] = {0.25, 0.5, 1.0, 2.0, 3.0, 6.0, 12.0, 24.0};
    constexpr int kMostTicks = 10;
    if (!(toHours > fromHours)) toHours = fromHours + 1.0;
    double step = 24.0;
    for (double candidate : kSteps) {
        if ((toHours - fromHours) / candidate <= kMostTicks) {
            step = candidate;
            break;
        }
    }
    TTimeAxis axis;
    axis.From = std::floor(fromHours / step) * step;
    axis.To = std::ceil(toHours / step) * step;
    if (axis.To <= axis.From) axis.To = axis.From + step;
    const long long count = std::llround((axis.To - axis.From) / step);
    for (long long i = 0; i <= count; ++i) {
        const double hours = axis.From + static_cast<double>(i) * step;
        const long long minutes = std::llround(hours * 60.0);
        const long long ofDay = ((minutes % 1440) + 1440) % 1440;
        char label[16];
        std::snprintf(label, sizeof label, "%02lld:%02lld", ofDay / 60, ofDay % 60);
        axis.Ticks.push_back({hours, label});
    }
    return axis;
}

} // namespace drmq
