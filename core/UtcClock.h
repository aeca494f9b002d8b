// The program's one source of time: UTC date-time as days since 1899-12-30
// (fractional part = time of day) and the local offset. Any thread may read it.
#pragma once

#include <cstdint>
#include <memory>

namespace drmq {

// Calendar parts of a date-time in days.
struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

double EncodeDateTime(const DateTimeParts &p);
DateTimeParts DecodeDateTime(double days);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(double days);
double TimeOfDay(double days);

class TUtcClock {
public:
    virtual ~TUtcClock() = default;
    // Current UTC date-time in days.
    virtual double UtcNow() const = 0;
    // Offset UTC - local time in days (local + bias = UTC).
    virtual double UtcBias() const = 0;
};

// Reads the system clock: UTC straight from it, the bias from the local zone.
class TSystemClock : public TUtcClock {
public:
    double UtcNow() const override;
    double UtcBias() const override;
};

// A clock that tests set to any instant; it stands still unless advanced.
class TManualClock : public TUtcClock {
public:
    explicit TManualClock(double now = 0.0, double bias = 0.0) : now_(now), bias_(bias) {}
    double UtcNow() const override { return now_; }
    double UtcBias() const override { return bias_; }
    void Set(double now) { now_ = now; }
    void Set(const DateTimeParts &p) { now_ = EncodeDateTime(p); }
    void AdvanceSeconds(double s) { now_ += s / 86400.0; }

private:
    double now_;
    double bias_;
};

} // namespace drmq
