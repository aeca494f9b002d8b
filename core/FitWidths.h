// Widths of side-by-side cells (grid columns, status panels) that share a
// fixed room: each wide enough for what it shows, as wide as the design where
// there is room. Pure, any thread.
#pragma once

#include <vector>

namespace drmq {

// needed: the least width of each cell; preferred: its design width. A cell
// gets the larger of the two; when that is more than `available` in all,
// cells give back what they have beyond their need, in proportion, until the
// total fits or nothing is left to give.
std::vector<int> FitWidths(const std::vector<int> &needed, const std::vector<int> &preferred, int available);

} // namespace drmq
