#include "EventLoopWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace drmq::test {

bool ProcessEventsUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() >= timeoutMs) return done();
        QCoreApplication::processEvents();
        QThread::usleep(200); // hand-overs arrive as posted events; do not spin
    }
    return true;
}

void ProcessEventsFor(int ms) {
    ProcessEventsUntil([] { return false; }, ms);
}

} // namespace drmq::test
