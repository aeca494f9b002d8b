// The chosen blocks of the level chart as CSV: one row per minute with its
// UTC time, the frequency in kHz and the level. Pure, any thread.
#pragma once

#include "logging/LevelLogParser.h"

#include <string>
#include <vector>

namespace drmq {

// "UTC time,kHz,level" and the rows, CR LF line ends; texts byte for byte.
std::string LevelCsv(const std::vector<const TLevelBlock *> &blocks);

} // namespace drmq
