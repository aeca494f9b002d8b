// What the program takes from receiver replies: the FRG100 S-meter reply and
// the PCR1000 keep-alive. Pure functions, any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace drmq {

// The FRG100 answers an S-meter request with exactly 5 bytes ending in 0xF7,
// the reading being the fourth. Anything else (split, doubled, wrong end)
// gives no reading.
std::optional<std::uint8_t> Frg100SMeterReading(const std::string &reply);

// Sent to a connected PCR1000 every 5 s (Timer2) so that it stays on; also
// its first initialisation command.
inline const char *const kPcr1000KeepAlive = "H101\r\n";

} // namespace drmq
