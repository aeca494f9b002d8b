#include "logging/ReceptionLog.h"

#include "logging/LogFormat.h"

#include <cmath>

namespace drmq {

namespace {
constexpr double kMsPerDay = 86400000.0;
constexpr long long kMsPerMinute = 60000;
} // namespace

void TReceptionLog::Begin() {
    startTime_ = utcNow_();
    minuteOrigin_ = startTime_;
    lastNow_ = startTime_;
    minuteIndex_ = 0;
    lastMinuteIndex_ = 0;
    minuteSum_ = 0.0;
    minuteSamples_ = 0;
    rxlMax_ = kInitialMax;
    rxlMin_ = kInitialMin;
}

void TReceptionLog::OpenFile(const std::string &path, std::string_view frequencyKhz, std::string_view receiver) {
    file_.Open(path);
    const std::string header = LogHeader(startTime_, frequencyKhz, receiver);
    file_.Write(header);
    live_.Begin();
    live_.Written(header);
}

std::uint16_t TReceptionLog::UpdateMinuteIndex() {
    const double now = utcNow_();
    if (now < lastNow_) minuteOrigin_ -= lastNow_ - now;
    lastNow_ = now;
    // Whole milliseconds first, so 60 s of ticks is one minute and not 0.99999.
    const double ms = std::round((now - minuteOrigin_) * kMsPerDay);
    const long long minutes = ms < 9.0e15 ? static_cast<long long>(ms) / kMsPerMinute : 0;
    minuteIndex_ = static_cast<std::uint16_t>(minutes);
    return minuteIndex_;
}

void TReceptionLog::Sample(double rxl) {
    std::string finishedLine;
    if (minuteIndex_ != lastMinuteIndex_) {
        if (minuteSamples_ > 0) finishedLine = LogMinuteLine(lastMinuteIndex_, minuteSum_ / minuteSamples_);
        minuteSum_ = 0.0;
        minuteSamples_ = 0;
    }
    minuteSum_ += rxl;
    if (rxl > rxlMax_) rxlMax_ = rxl;
    if (rxl < rxlMin_) rxlMin_ = rxl;
    ++minuteSamples_;
    lastMinuteIndex_ = minuteIndex_;
    live_.AddSecond(lastNow_ - minuteOrigin_, rxl);
    // Written last: a failed write loses this line but not the running minute.
    if (finishedLine.empty()) return;
    file_.Write(finishedLine);
    live_.Written(finishedLine);
}

void TReceptionLog::Finish() {
    if (!file_.IsOpen()) return;
    struct CloseAtEnd {
        TLogFile &file;
        TLiveLevels &live;
        ~CloseAtEnd() {
            file.Close();
            live.Stop();
        }
    } closeAtEnd{file_, live_};
    const std::string closing = LogClosingLines(rxlMin_, rxlMax_);
    file_.Write(closing);
    live_.Written(closing);
}

} // namespace drmq
