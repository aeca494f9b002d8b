#include "schedule/BackgroundDownload.h"

#include <QMetaObject>

namespace drmq {

TBackgroundDownload::TBackgroundDownload(THttpOptions options) : options_(std::move(options)) {
    options_.Cancel = &cancel_;
}

TBackgroundDownload::~TBackgroundDownload() { Cancel(); }

bool TBackgroundDownload::Start(std::vector<TJob> jobs) {
    if (running_ || jobs.empty()) return false;
    // The previous worker has posted its last event already; join it.
    if (worker_.joinable()) worker_.join();
    cancel_ = false;
    running_ = true;
    const unsigned generation = ++generation_;
    worker_ = std::thread([this, generation, jobs = std::move(jobs)] {
        for (size_t i = 0; i < jobs.size() && !cancel_; ++i) {
            const bool last = i + 1 == jobs.size();
            TDone done;
            if (jobs[i].Work) {
                done = jobs[i].Work(options_);
            } else {
                done = [done = jobs[i].Done, text = HttpGetText(jobs[i].Url, options_)] { done(text); };
            }
            if (cancel_) return;
            Deliver(generation, [this, done = std::move(done), last] {
                // The run ends before the last callback, so that it may start
                // another one.
                if (last) running_ = false;
                done();
            });
        }
    });
    return true;
}

void TBackgroundDownload::Deliver(unsigned generation, const std::function<void()> &callback) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, callback] {
            // Events of a cancelled run may still be queued: they are dropped.
            if (generation == generation_) callback();
        },
        Qt::QueuedConnection);
}

void TBackgroundDownload::Cancel() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
    ++generation_;
    running_ = false;
}

} // namespace drmq
