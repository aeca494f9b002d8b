// The chosen blocks of the level chart as CSV: one row per minute with its
// UTC time, the frequency in kHz, the level and what Dream decoded in that
// minute (SNR, audio frames OK). Pure, any thread.
#pragma once

#include "logging/DreamLogParser.h"
#include "logging/LevelLogParser.h"

#include <string>
#include <vector>

namespace drmq {

// "UTC time,kHz,level,snr_db,audio_ok" and the rows, CR LF line ends; texts
// byte for byte. The last two fields stay empty for a minute Dream has no
// line for.
std::string LevelCsv(const std::vector<const TLevelBlock *> &blocks, const std::vector<TDreamBlock> &dream = {});

} // namespace drmq
