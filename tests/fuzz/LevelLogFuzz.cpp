// The reception log read back for the level chart: whatever the file holds,
// the blocks read from it, written out again, read back the same.
#include "FuzzInput.h"

#include "logging/LevelLogParser.h"
#include "logging/LogFormat.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const TLevelLog log = ParseLevelLog(fuzz::Text(data, size));
    if (log.Notes.size() > 201) std::abort();
    std::string again;
    for (const TLevelBlock &block : log.Blocks) {
        again += LogHeader(block.StartUtc, block.FrequencyKhz, block.Receiver);
        for (const TMinuteLevel &minute : block.Minutes) again += LogMinuteLine(minute.Minute, minute.Level);
        if (block.Closed) again += LogClosingLines(0.0, 0.0);
    }
    const TLevelLog reread = ParseLevelLog(again);
    if (reread.Blocks.size() != log.Blocks.size()) std::abort();
    for (std::size_t i = 0; i < log.Blocks.size(); ++i) {
        const TLevelBlock &a = log.Blocks[i];
        const TLevelBlock &b = reread.Blocks[i];
        if (!a.SameBlock(b) || a.Receiver != b.Receiver || a.Minutes != b.Minutes || a.Closed != b.Closed) std::abort();
    }
    return 0;
}
