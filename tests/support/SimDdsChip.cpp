#include "SimDdsChip.h"

namespace drmq::test {

std::uint32_t TDdsFrame::Word() const {
    std::uint32_t w = 0;
    for (bool b : Bits) w = (w << 1) | (b ? 1u : 0u);
    return w;
}

std::string TDdsFrame::Bytes() const {
    std::string bytes;
    for (size_t i = 0; i + 8 <= Bits.size(); i += 8) {
        unsigned char c = 0;
        for (size_t k = 0; k < 8; ++k) c = static_cast<unsigned char>((c << 1) | (Bits[i + k] ? 1 : 0));
        bytes.push_back(static_cast<char>(c));
    }
    return bytes;
}

std::vector<TDdsFrame> DecodeDdsFrames(const std::vector<std::string> &events) {
    std::vector<TDdsFrame> frames;
    bool dtr = false, rts = false, brk = false;
    TDdsFrame current;
    for (std::string e : events) {
        const bool closedPort = !e.empty() && e[0] == '!';
        if (closedPort) e.erase(0, 1);
        if (e.size() < 5) continue; // "close"/"open" carry no line state
        const bool on = e.back() == '1';
        const std::string line = e.substr(0, 3);
        if (line == "DTR") {
            if (on && !dtr) current = TDdsFrame{};
            if (!on && dtr) frames.push_back(current);
            dtr = on;
        } else if (line == "RTS") {
            rts = on;
        } else if (line == "BRK") {
            // The chip takes the data bit on the rising clock edge.
            if (on && !brk && dtr) current.Bits.push_back(!rts);
            brk = on;
        } else {
            continue;
        }
        if (closedPort && dtr) current.PortWasOpen = false;
    }
    return frames;
}

} // namespace drmq::test
