#include "tuning/Synthesizer.h"

#include "core/RunErrors.h"

#include <chrono>
#include <cmath>

namespace drmq {

namespace {
using namespace std::string_literals;
constexpr double kTwoPow32 = 4294967296.0;
} // namespace

void BitDelay(int n) {
    if (n < 0) return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(std::int64_t{n} + 1);
    while (std::chrono::steady_clock::now() < until) {
    }
}

void TSynthesizerLines::ClockBit(bool one) {
    port_.LineRTS(!one); // the data line is inverted
    pause_();
    port_.LineBreak(true);
    pause_();
    port_.LineBreak(false);
    pause_();
}

void TSynthesizerLines::WordOut(std::uint16_t word) {
    port_.LineBreak(false);
    pause_();
    port_.LineDTR(true);
    pause_();
    for (int bit = 15; bit >= 0; --bit) {
        ClockBit((word >> bit) & 1);
        pause_();
    }
    pause_();
    port_.LineDTR(false);
    pause_();
}

void TSynthesizerLines::ByteOut(std::uint8_t byte) {
    for (int bit = 7; bit >= 0; --bit) ClockBit((byte >> bit) & 1);
}

void TSynthesizerLines::CMDout(const std::string &portName, std::string_view bytes) {
    port_.OpenLinePort(portName);
    port_.LineDTR(true);
    for (char b : bytes) ByteOut(static_cast<std::uint8_t>(b));
    pause_();
    port_.LineDTR(false);
    port_.CloseLinePort();
}

std::array<std::uint16_t, 7> ElektorWords(double khz, double ifKhz, std::int64_t xtalKhz) {
    if (xtalKhz == 0) throw ERunError("Gleitkommadivision durch Null");
    const double ratio = (khz + ifKhz) / static_cast<double>(xtalKhz);
    const auto word = static_cast<std::uint64_t>(static_cast<std::int64_t>(std::trunc(ratio * kTwoPow32)));
    auto byte = [word](int n) { return static_cast<std::uint16_t>((word >> (8 * n)) & 0xFF); };
    return {0xF800,
            static_cast<std::uint16_t>(0x3000 + byte(0)),
            static_cast<std::uint16_t>(0x2100 + byte(1)),
            static_cast<std::uint16_t>(0x3200 + byte(2)),
            static_cast<std::uint16_t>(0x2300 + byte(3)),
            0x8000,
            0xC000};
}

std::int64_t Drt1SystemClock(int multiplierIndex) {
    return multiplierIndex <= 0 ? kDrt1ReferenceHz : (multiplierIndex + 3) * kDrt1ReferenceHz;
}

std::optional<std::string> Drt1TuningCommand(double hz, std::int32_t firstIfOffsetHz, int multiplierIndex) {
    const auto system = static_cast<double>(Drt1SystemClock(multiplierIndex));
    const double x = hz + firstIfOffsetHz;
    if (2 * x > system) return std::nullopt;
    const auto word = static_cast<std::uint32_t>(static_cast<std::int64_t>(std::trunc(x / system * kTwoPow32)));
    return "\x04"s + static_cast<char>(word >> 24) + static_cast<char>(word >> 16) + static_cast<char>(word >> 8) +
           static_cast<char>(word);
}

std::string Drt1ControlRegister1() {
    return "\x00\x00\x00\x02\x02"s;
}

std::string Drt1ControlRegister2(int multiplierIndex, int chargePumpIndex) {
    // Bits 7..3: the multiplier choice plus 3; bit 2 for "--", "4x" and "5x".
    static const std::uint8_t kBase[6] = {0x1C, 0x24, 0x2C, 0x30, 0x38, 0x40};
    const int m = multiplierIndex < 0 ? 0 : multiplierIndex > 5 ? 5 : multiplierIndex;
    return "\x01\x00\x00"s + static_cast<char>(kBase[m] + (chargePumpIndex & 3));
}

} // namespace drmq
