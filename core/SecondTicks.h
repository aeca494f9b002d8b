// TSecondTicks: decides when the one-second clock ticks, so that every UTC
// second gets exactly one tick however early or late the timer fires. UI thread.
#pragma once

namespace drmq {

class TSecondTicks {
public:
    // Time given in days, as the UTC clock tells it.
    //
    // Whether a timer that fires at `now` starts a new second's tick; a due
    // second is remembered. A timer that fired early, still inside the second
    // that already ticked, is not due. A clock set back (by the user, by time
    // synchronisation) ticks again at once.
    bool Due(double now);
    // How long to wait from `now` until just after the next second begins.
    static int MsToNextSecond(double now);

private:
    long long lastSecond_ = 0;
    bool ticked_ = false;
};

} // namespace drmq
