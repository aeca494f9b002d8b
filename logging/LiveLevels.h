// TLiveLevels: the block a running log is writing, read back from the very
// text that goes into the file, and each second's level beside it. UI thread.
#pragma once

#include "logging/LevelLogParser.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace drmq {

// One level at an instant (UTC days).
struct TLevelPoint {
    double Utc = 0.0;
    double Level = 0.0;
};

class TLiveLevels {
public:
    enum class TChange { Started, Second, Minute, Stopped };

    // Told after every change; one listener (the chart window) at a time.
    void SetListener(std::function<void(TChange)> listener) { listener_ = std::move(listener); }

    // A new block: forgets the last one.
    void Begin();
    // Text just written to the file: header, minute or closing lines.
    void Written(std::string_view text);
    // A second's sample, the given time after the start of the log.
    void AddSecond(double elapsedDays, double level);
    // The log has stopped; the block stays until the next Begin.
    void Stop();

    bool Running() const { return running_; }
    // The block as the file holds it so far; null before its header is written.
    const TLevelBlock *Block() const;
    const std::vector<TLevelPoint> &Seconds() const { return seconds_; }

private:
    void Tell(TChange change) const;

    std::function<void(TChange)> listener_;
    TLevelLogParser parser_;
    // The block once the closing lines have been read back.
    std::optional<TLevelBlock> closed_;
    std::vector<TLevelPoint> seconds_;
    bool running_ = false;
};

} // namespace drmq
