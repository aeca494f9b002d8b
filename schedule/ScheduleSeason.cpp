#include "schedule/ScheduleSeason.h"

#include "core/UtcClock.h"

#include <cstdio>

namespace drmq {

namespace {
// 01:00 UTC of the month's last Sunday.
double SeasonStart(int year, int month) {
    DateTimeParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = 31;
    parts.hour = 1;
    double day = EncodeDateTime(parts);
    while (DayOfWeek(day) != 1) day -= 1;
    return day;
}

std::string Name(char letter, int year) {
    char text[8];
    std::snprintf(text, sizeof text, "%c%02d", letter, ((year % 100) + 100) % 100);
    return text;
}
} // namespace

std::string SeasonName(double utcNow) {
    const int year = DecodeDateTime(utcNow).year;
    if (utcNow < SeasonStart(year, 3)) return Name('b', year - 1);
    if (utcNow < SeasonStart(year, 10)) return Name('a', year);
    return Name('b', year);
}

} // namespace drmq
