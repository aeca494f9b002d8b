// TLinkState: whether the receiver link was lost while "Connect" stays ticked,
// why, and when the next attempt to reopen it is due. UI thread only.
#pragma once

#include <string>

namespace drmq {

class TLinkState {
public:
    // Seconds between two attempts to reopen a lost link.
    static constexpr double kRetrySeconds = 3.0;

    // The running link failed at nowSeconds. True for the first report of a
    // loss (the caller closes the link and shows StatusText()); false while
    // the loss is already known, so that a repeating failure is told once.
    bool LinkLost(const std::string &cause, double nowSeconds);
    bool Lost() const { return lost_; }
    const std::string &Cause() const { return cause_; }

    // While lost: true when kRetrySeconds have passed since the loss or the
    // last attempt (or the clock went back); the attempt counts from now.
    bool RetryDue(double nowSeconds);

    // The link is open again, or "Connect" was unticked: no loss any more.
    void Reconnected();

    // "Receiver lost: <cause>" while lost, empty otherwise.
    std::string StatusText() const;

private:
    bool lost_ = false;
    std::string cause_;
    double lastAttempt_ = 0.0;
};

} // namespace drmq
