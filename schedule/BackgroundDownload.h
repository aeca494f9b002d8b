// TBackgroundDownload: runs a list of HTTP GETs one after another on a worker
// thread and hands each text to its owner's (UI) thread as a queued event.
#pragma once

#include "schedule/HttpGet.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace drmq {

class TBackgroundDownload : public QObject {
public:
    // What the owner's thread runs once a job's work is done.
    using TDone = std::function<void()>;
    struct TJob {
        std::string Url;
        // Runs on the owner's thread with the body (empty on any failure).
        std::function<void(const std::string &text)> Done;
        // Instead of a plain GET of Url: work of its own on the worker
        // thread (its GETs with the given options), handing back what the
        // owner's thread then runs.
        std::function<TDone(const THttpOptions &options)> Work = {};
    };

    explicit TBackgroundDownload(THttpOptions options = {});
    // Cancels: no callback runs after the object is gone.
    ~TBackgroundDownload() override;
    TBackgroundDownload(const TBackgroundDownload &) = delete;
    TBackgroundDownload &operator=(const TBackgroundDownload &) = delete;

    // True from Start until the last job's callback has run.
    bool Running() const { return running_; }
    // Starts the jobs in order; does nothing and returns false while a run is
    // under way, so that a second request never doubles the traffic.
    bool Start(std::vector<TJob> jobs);
    // Ends the run at once: the current request stops within a poll slice,
    // and no callback of it runs, now or later.
    void Cancel();

private:
    void Deliver(unsigned generation, const std::function<void()> &callback);

    THttpOptions options_;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
    unsigned generation_ = 0; // owner's thread only
    bool running_ = false;
};

} // namespace drmq
