// Merges the entries of several schedule lists into one schedule: entries of
// different lists on the same frequency whose times and days overlap are one
// transmission, its fields from the most trusted list that has them. Pure,
// any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <vector>

namespace drmq {

// `lists` in trust order, each entry marked with its list's source bit.
// Exact repeats within a list are dropped, and everything past the
// schedule's room of 20000 entries.
ScheduleTable MergeScheduleLists(const std::vector<std::vector<ScheduleEntry>> &lists);

} // namespace drmq
