// TReceptionLog: one reception log run: its start time, the per-minute
// averaging of the signal level, minimum and maximum, and the log file. UI thread.
#pragma once

#include "logging/LiveLevels.h"
#include "logging/LogFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace drmq {

class TReceptionLog {
public:
    static constexpr double kInitialMax = -14.0;
    static constexpr double kInitialMin = 120.0;

    // utcNow reads the program's clock (UTC days).
    explicit TReceptionLog(std::function<double()> utcNow) : utcNow_(std::move(utcNow)) {}

    // Start Log: the log starts now and every accumulator starts afresh.
    void Begin();
    double LogStartTime() const { return startTime_; }

    // Opens the file and writes the block's header lines; raises file errors.
    void OpenFile(const std::string &path, std::string_view frequencyKhz, std::string_view receiver);
    bool LogFileOpen() const { return file_.IsOpen(); }

    // Whole minutes since the start, in 16 bits. A clock that goes back
    // does not count back: the minutes go on from where they were.
    std::uint16_t UpdateMinuteIndex();
    std::uint16_t MinuteIndex() const { return minuteIndex_; }

    // Adds one level sample to the current minute; when the minute index has
    // moved on, first writes the finished minute's line (a minute without
    // samples gets none). Only while the file is open.
    void Sample(double rxl);

    // Writes the closing lines and closes the file, when it is open.
    void Finish();

    double RxlMin() const { return rxlMin_; }
    double RxlMax() const { return rxlMax_; }

    // The block being written, as the file holds it, with every sample.
    TLiveLevels &Live() { return live_; }

private:
    std::function<double()> utcNow_;
    TLogFile file_;
    TLiveLevels live_;
    double startTime_ = 0.0;
    // Where the minute count starts; moves with a clock that goes back.
    double minuteOrigin_ = 0.0;
    double lastNow_ = 0.0;
    std::uint16_t minuteIndex_ = 0;
    std::uint16_t lastMinuteIndex_ = 0;
    double minuteSum_ = 0.0;
    std::uint32_t minuteSamples_ = 0;
    double rxlMax_ = kInitialMax;
    double rxlMin_ = kInitialMin;
};

} // namespace drmq
