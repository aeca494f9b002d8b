#include "rig/Replies.h"

namespace drmq {

std::optional<std::uint8_t> Frg100SMeterReading(const std::string &reply) {
    if (reply.size() != 5 || static_cast<std::uint8_t>(reply[4]) != 0xF7) return std::nullopt;
    return static_cast<std::uint8_t>(reply[3]);
}

} // namespace drmq
