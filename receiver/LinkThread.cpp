#include "receiver/LinkThread.h"

namespace drmq {

TLinkThread::TLinkThread() : thread_([this] { Run(); }) {}

TLinkThread::~TLinkThread() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        changed_.notify_all();
    }
    thread_.join();
}

void TLinkThread::Post(std::function<void()> job) {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(job));
    changed_.notify_all();
}

void TLinkThread::Finish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return queue_.empty() && !running_; });
}

void TLinkThread::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) return;
        std::function<void()> job = std::move(queue_.front());
        queue_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

} // namespace drmq
