#include "core/UtcClock.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace drmq {

namespace {
// Days from 0001-01-01 style civil counting (Howard Hinnant's algorithm).
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int &y, int &m, int &d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long yy = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// 1899-12-30 counted from the Unix epoch.
const long kEpochOffset = DaysFromCivil(1899, 12, 30);
} // namespace

double EncodeDateTime(const DateTimeParts &p) {
    const double date = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) - kEpochOffset);
    const double time = (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) / 86400000.0;
    return date + time;
}

DateTimeParts DecodeDateTime(double days) {
    DateTimeParts p;
    // Round to whole milliseconds first so 10:00:00 never shows as 09:59:59.
    long long ms = std::llround(days * 86400000.0);
    long long dayNumber = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    long long msOfDay = ms - dayNumber * 86400000;
    CivilFromDays(static_cast<long>(dayNumber) + kEpochOffset, p.year, p.month, p.day);
    p.hour = static_cast<int>(msOfDay / 3600000);
    p.minute = static_cast<int>(msOfDay / 60000 % 60);
    p.second = static_cast<int>(msOfDay / 1000 % 60);
    p.millisecond = static_cast<int>(msOfDay % 1000);
    return p;
}

int DayOfWeek(double days) {
    // 1899-12-30 was a Saturday (7).
    long long whole = static_cast<long long>(std::floor(days));
    long long w = ((whole + 6) % 7 + 7) % 7; // 0 = Sunday
    return static_cast<int>(w) + 1;
}

double TimeOfDay(double days) {
    return days - std::floor(days);
}

double TSystemClock::UtcNow() const {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<double>(ms) / 86400000.0 - static_cast<double>(kEpochOffset);
}

double TSystemClock::UtcBias() const {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    // tm_gmtoff is local - UTC in seconds; the bias runs the other way.
    return -static_cast<double>(local.tm_gmtoff) / 86400.0;
}

} // namespace drmq
