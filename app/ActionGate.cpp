#include "app/ActionGate.h"

#include <QTimer>

#include <algorithm>

namespace drmq {

void TActionGate::Run(std::function<void()> action) {
    RunMerged(nullptr, std::move(action));
}

void TActionGate::RunMerged(const void *key, std::function<void()> action) {
    if (!Held()) {
        action();
        return;
    }
    const bool alreadyWaiting =
        key && std::any_of(waiting_.begin(), waiting_.end(), [key](const TWaiting &w) { return w.key == key; });
    if (!alreadyWaiting) waiting_.push_back({key, std::move(action)});
}

void TActionGate::Release() {
    if (--holds_ > 0 || waiting_.empty() || !context_) return;
    QTimer::singleShot(0, context_, [this, waiting = std::move(waiting_)]() mutable {
        // An action that starts another sequence holds the gate again; the
        // ones after it then wait for that sequence in turn.
        for (TWaiting &w : waiting) RunMerged(w.key, std::move(w.action));
    });
    waiting_.clear();
}

} // namespace drmq
