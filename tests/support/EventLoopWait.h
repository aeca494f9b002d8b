// Test helper: lets the UI thread's event loop run until a condition holds,
// so hand-overs from worker threads are served. UI thread.
#pragma once

#include <functional>

namespace drmq::test {

// Processes events until done() is true or timeoutMs has passed; returns done().
bool ProcessEventsUntil(const std::function<bool()> &done, int timeoutMs = 2000);
// Processes events for the whole period.
void ProcessEventsFor(int ms);

} // namespace drmq::test
