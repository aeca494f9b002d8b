// Test support: the synthesizer chip's side of the control-line interface.
// Decodes recorded line changes as the chip clocks them: a break pulse
// clocks in the inverted RTS level, DTR frames a transfer. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drmq::test {

struct TDdsFrame {
    std::vector<bool> Bits; // in clock order, most significant first
    bool PortWasOpen = true; // every change happened on an open port
    // The bits as a number (for 16-bit words) or as bytes (for commands).
    std::uint32_t Word() const;
    std::string Bytes() const;
};

// Splits the events of a TLinePortRecorder into DTR frames.
std::vector<TDdsFrame> DecodeDdsFrames(const std::vector<std::string> &events);

} // namespace drmq::test
