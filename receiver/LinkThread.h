// TLinkThread: the thread on which a link talks to its device. Jobs run one
// after another in the order they were posted; posting and finishing are the
// UI thread's, the jobs run on the link's own thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace drmq {

class TLinkThread {
public:
    TLinkThread();
    // Runs what is queued, then ends the thread.
    ~TLinkThread();
    TLinkThread(const TLinkThread &) = delete;
    TLinkThread &operator=(const TLinkThread &) = delete;

    void Post(std::function<void()> job);
    // Waits until every job posted so far has run.
    void Finish();

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> queue_;
    bool running_ = false; // a job is running
    bool stop_ = false;
    std::thread thread_;
};

} // namespace drmq
