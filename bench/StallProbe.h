// Benchmark support: how long the UI thread was held at most, measured by a
// 1 ms timer on it: the longest gap between two of its timeouts. UI thread.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace drmq::bench {

class TStallProbe {
public:
    TStallProbe() {
        ticker_.setInterval(1);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            longestNs_ = std::max(longestNs_, sinceTick_.nsecsElapsed());
            sinceTick_.restart();
        });
        sinceTick_.start();
        ticker_.start();
    }
    void Stop() { ticker_.stop(); }
    // Leaves out the time since the last timeout (work measured apart).
    void Restart() { sinceTick_.restart(); }
    qint64 LongestNs() const { return longestNs_; }

private:
    qint64 longestNs_ = 0;
    QElapsedTimer sinceTick_;
    QTimer ticker_;
};

} // namespace drmq::bench
