// The broadcasting season of a UTC instant as the schedule lists name it:
// "a26" from the last Sunday of March 2026 01:00 UTC, "b26" from the last
// Sunday of October 2026 01:00 UTC until the next March. Pure, any thread.
#pragma once

#include <string>

namespace drmq {

// `utcNow` in days since 1899-12-30, as the program's clock gives it.
std::string SeasonName(double utcNow);

} // namespace drmq
