#include "rig/LinkState.h"

namespace drmq {

bool TLinkState::LinkLost(const std::string &cause, double nowSeconds) {
    if (lost_) return false;
    lost_ = true;
    cause_ = cause;
    lastAttempt_ = nowSeconds;
    return true;
}

bool TLinkState::RetryDue(double nowSeconds) {
    if (!lost_) return false;
    const double waited = nowSeconds - lastAttempt_;
    if (waited >= 0.0 && waited < kRetrySeconds) return false;
    lastAttempt_ = nowSeconds;
    return true;
}

void TLinkState::Reconnected() {
    lost_ = false;
    cause_.clear();
}

std::string TLinkState::StatusText() const {
    return lost_ ? "Receiver lost: " + cause_ : std::string();
}

} // namespace drmq
