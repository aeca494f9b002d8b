#include "core/FitWidths.h"

#include <algorithm>
#include <numeric>

namespace drmq {

std::vector<int> FitWidths(const std::vector<int> &needed, const std::vector<int> &preferred, int available) {
    const size_t n = std::min(needed.size(), preferred.size());
    std::vector<int> widths(n);
    std::vector<int> slack(n);
    for (size_t c = 0; c < n; ++c) {
        widths[c] = std::max(needed[c], preferred[c]);
        slack[c] = widths[c] - needed[c];
    }
    const int total = std::accumulate(widths.begin(), widths.end(), 0);
    const int totalSlack = std::accumulate(slack.begin(), slack.end(), 0);
    const int excess = total - available;
    if (excess <= 0 || totalSlack == 0) return widths;
    const int giveBack = std::min(excess, totalSlack);
    // Shares rounded up, so that the total reaches the room; none gives more
    // than its slack.
    for (size_t c = 0; c < n; ++c) {
        const long long share = (static_cast<long long>(giveBack) * slack[c] + totalSlack - 1) / totalSlack;
        widths[c] -= static_cast<int>(std::min<long long>(share, slack[c]));
    }
    return widths;
}

} // namespace drmq
