#include "rig/UiHandOver.h"

#include <QMetaObject>
#include <QObject>

namespace drmq {

THandOver::THandOver() : relay_(std::make_unique<QObject>()) {}

THandOver::~THandOver() = default;

void THandOver::Run(std::function<void()> job) {
    std::unique_lock lock(mutex_);
    pending_ = std::move(job);
    const std::uint64_t ticket = ++posted_;
    // A queued call that finds the job already served does nothing; one for a
    // destroyed relay is dropped by Qt.
    QMetaObject::invokeMethod(relay_.get(), [this] { ServePending(); }, Qt::QueuedConnection);
    changed_.notify_all();
    changed_.wait(lock, [&] { return finished_ >= ticket; });
}

void THandOver::WorkerEnded() {
    std::lock_guard lock(mutex_);
    workerEnded_ = true;
    changed_.notify_all();
}

void THandOver::Reset() {
    std::lock_guard lock(mutex_);
    workerEnded_ = false;
    pending_ = nullptr;
    finished_ = posted_;
}

void THandOver::ServePending() {
    std::function<void()> job;
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(mutex_);
        if (!pending_) return;
        job = std::move(pending_);
        pending_ = nullptr;
        ticket = posted_;
        jobRunning_ = true;
    }
    struct Done {
        THandOver *self;
        std::uint64_t ticket;
        ~Done() {
            std::lock_guard lock(self->mutex_);
            if (self->finished_ < ticket) self->finished_ = ticket;
            self->jobRunning_ = false;
            self->changed_.notify_all();
        }
    } done{this, ticket};
    job();
}

void THandOver::ServeUntilWorkerEnded() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return workerEnded_ || pending_; });
            if (!pending_) return;
        }
        ServePending();
    }
}

void THandOver::ReleaseWorkerFromJob() {
    std::lock_guard lock(mutex_);
    if (!jobRunning_) return;
    finished_ = posted_;
    changed_.notify_all();
}

} // namespace drmq
