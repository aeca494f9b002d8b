#include "logging/LogFormat.h"

#include "core/UtcClock.h"

#include <cmath>
#include <cstdio>

namespace drmq {

namespace {
const char *const kEol = "\r\n";

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// One decimal and at least 3 characters: 12.0, -3.5, 120.0.
std::string OneDecimal(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%3.1f", value);
    return text;
}
} // namespace

double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) return lower + 1.0;
    if (fraction < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::string LogDateTimeText(double utc) {
    const DateTimeParts t = DecodeDateTime(utc);
    return std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day) + " " + TwoDigits(t.hour) + ":" +
           TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

std::string LogHeader(double utcStart, std::string_view frequencyKhz, std::string_view receiver) {
    std::string text;
    auto line = [&](std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        text.append(a).append(b).append(c).append(kEol);
    };
    line("");
    line(kLogBlockStart);
    line(kLogProgramName);
    line(kLogStartLabel, LogDateTimeText(utcStart));
    line(kLogFrequencyLabel, frequencyKhz, kLogKhzSuffix);
    line(kLogReceiverLabel, receiver);
    line("");
    line(kLogColumnHeads);
    return text;
}

std::string LogMinuteLine(std::uint16_t minuteIndex, double averageLevel) {
    char index[16];
    std::snprintf(index, sizeof index, "%04u", static_cast<unsigned>(minuteIndex));
    char level[64];
    // Adding 0.0 turns a rounded -0 into 0.
    std::snprintf(level, sizeof level, "%3.0f", RoundHalfEven(averageLevel) + 0.0);
    // The field is exactly 3 characters wide: longer values lose their tail.
    return std::string("  ") + index + "  " + std::string(level).substr(0, 3) + kEol;
}

std::string LogClosingLines(double rxlMin, double rxlMax) {
    return std::string(kEol) + std::string(kLogClosingLabel) + OneDecimal(rxlMin) + ", max: " + OneDecimal(rxlMax) +
           kEol + std::string(kLogBlockEnd) + kEol;
}

} // namespace drmq
