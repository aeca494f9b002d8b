// Dream's minute log: whatever the file holds, every minute read back is a
// real one (finite SNR, audio count not negative, in a block with a start),
// and the blocks written out again in Dream's format read back the same.
#include "FuzzInput.h"

#include "logging/DreamLogParser.h"
#include "logging/LogFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::vector<TDreamBlock> blocks = ParseDreamLog(fuzz::Text(data, size));
    std::string again;
    for (const TDreamBlock &block : blocks) {
        again += ">>>>\nStarttime (UTC)  " + LogDateTimeText(block.StartUtc) + "\nFrequency        " +
                 block.FrequencyKhz + " kHz\n";
        for (const TDreamMinute &m : block.Minutes) {
            if (!std::isfinite(m.SnrDb) || m.AudioOk < 0) std::abort();
            char line[128];
            std::snprintf(line, sizeof line, "%u %.17g %d %d 0\n", unsigned(m.Minute), m.SnrDb, m.Sync ? 1 : 0,
                          m.AudioOk);
            again += line;
        }
        if (block.Closed) again += "<<<<\n";
    }
    const std::vector<TDreamBlock> reread = ParseDreamLog(again);
    if (reread.size() != blocks.size()) std::abort();
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const TDreamBlock &a = blocks[i];
        const TDreamBlock &b = reread[i];
        if (a.StartUtc != b.StartUtc || a.Minutes != b.Minutes || a.Closed != b.Closed) std::abort();
    }
    return 0;
}
