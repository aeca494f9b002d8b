// The space-weather bulletin: its values cut and rated.
#include "FuzzInput.h"

#include "schedule/Bulletin.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const auto values = ParseBulletin(fuzz::Text(data, size));
    if (!values) return 0;
    TBulletinLevels levels;
    RateBulletin(*values, levels);
    for (int level : {levels.SolarFluxLevel, levels.AIndexLevel, levels.KIndexLevel})
        if (level < 0 || level > 6) std::abort();
    return 0;
}
