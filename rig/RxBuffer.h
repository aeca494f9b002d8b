// The serial port's 1024-byte receive buffer (oldest first, never growing) and
// its handshake line level. Event thread fills, UI thread empties; caller locks.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace drmq {

class TRxBuffer {
public:
    static constexpr std::size_t kCapacity = 1024;
    // A quarter of the buffer: the handshake limit of both directions.
    static constexpr std::size_t kHandshakeLimit = kCapacity / 4;

    // Stores as many bytes as there is room for; returns how many.
    std::size_t Put(const char *bytes, std::size_t n);
    // Takes up to n bytes, oldest first.
    std::string Take(std::size_t n);
    void Clear();
    std::size_t Count() const { return count_; }
    std::size_t Room() const { return kCapacity - count_; }

    // Receive handshake: the line goes off when fewer than 256 bytes are
    // free and on again when no more than 256 bytes are waiting.
    bool HandshakeLine(bool current) const;

private:
    std::array<char, kCapacity> ring_{};
    std::size_t head_ = 0; // oldest byte
    std::size_t count_ = 0;
};

} // namespace drmq
