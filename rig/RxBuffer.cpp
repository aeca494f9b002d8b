#include "rig/RxBuffer.h"

#include <algorithm>

namespace drmq {

std::size_t TRxBuffer::Put(const char *bytes, std::size_t n) {
    const std::size_t accepted = std::min(n, Room());
    for (std::size_t i = 0; i < accepted; ++i) ring_[(head_ + count_ + i) % kCapacity] = bytes[i];
    count_ += accepted;
    return accepted;
}

std::string TRxBuffer::Take(std::size_t n) {
    const std::size_t taken = std::min(n, count_);
    std::string out(taken, '\0');
    for (std::size_t i = 0; i < taken; ++i) out[i] = ring_[(head_ + i) % kCapacity];
    head_ = (head_ + taken) % kCapacity;
    count_ -= taken;
    return out;
}

void TRxBuffer::Clear() {
    head_ = 0;
    count_ = 0;
}

bool TRxBuffer::HandshakeLine(bool current) const {
    if (Room() < kHandshakeLimit) return false;
    if (count_ <= kHandshakeLimit) return true;
    return current;
}

} // namespace drmq
