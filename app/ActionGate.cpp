#include "app/ActionGate.h"

#include <QTimer>

#include <algorithm>

namespace drmq {

void TActionGate::Run(std::function<void()> action, QWidget *source) {
    if (!Held()) return action();
    Queue({nullptr, std::move(action), source, source != nullptr});
}

void TActionGate::RunMerged(const void *key, std::function<void()> action) {
    if (!Held()) return action();
    const bool alreadyWaiting =
        std::any_of(waiting_.begin(), waiting_.end(), [key](const TWaiting &w) { return w.key == key; });
    if (!alreadyWaiting) Queue({key, std::move(action), nullptr, false});
}

void TActionGate::Queue(TWaiting waiting) {
    waiting_.push_back(std::move(waiting));
}

void TActionGate::Release() {
    if (--holds_ > 0 || waiting_.empty() || !context_) return;
    QTimer::singleShot(0, context_, [this, waiting = std::move(waiting_)]() mutable {
        for (TWaiting &w : waiting) {
            if (w.hasSource && (!w.source || !w.source->isEnabled())) continue;
            w.action();
        }
    });
    waiting_.clear();
}

} // namespace drmq
