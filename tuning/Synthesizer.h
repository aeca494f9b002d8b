// The DDS synthesizers of the two home-built front ends (Elektor, DRT1): the
// tuning words and registers, and their bit framing on the port's control
// lines (RTS = inverted data, a break pulse = clock, DTR = frame). UI thread.
#pragma once

#include "rig/LinePort.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace drmq {

// The pause between line changes: (n + 1) nanoseconds of busy waiting on the
// steady clock for a count n >= 0, none for a negative count. Real time, so
// the settings "Elektor Delay" and "DTR1 Delay" mean the same on every computer.
void BitDelay(int n);

// Clocks bits into a synthesizer chip through a line port, most significant
// bit first, with Pause between the line changes.
class TSynthesizerLines {
public:
    TSynthesizerLines(TLinePort &port, std::function<void()> pause) : port_(port), pause_(std::move(pause)) {}

    // Elektor: one 16-bit word in its own DTR frame, on the port held open.
    void WordOut(std::uint16_t word);
    // DRT1: one byte inside the frame of CMDout.
    void ByteOut(std::uint8_t byte);
    // DRT1: one command (instruction byte and data bytes) on a freshly
    // opened port, in one DTR frame.
    void CMDout(const std::string &portName, std::string_view bytes);

private:
    void ClockBit(bool one);

    TLinePort &port_;
    std::function<void()> pause_;
};

// Elektor: the seven control words for frequency khz with the IF (kHz) and
// the synthesizer clock xtalKhz. A clock of 0 raises the division error.
std::array<std::uint16_t, 7> ElektorWords(double khz, double ifKhz, std::int64_t xtalKhz);

// DRT1: reference clock and the system clock of a "Multiplikator" index
// ("--", "4x" .. "8x").
constexpr std::int64_t kDrt1ReferenceHz = 45012000;
std::int64_t Drt1SystemClock(int multiplierIndex);

// The tuning-word command for hz plus the first-IF offset, or nothing when
// the frequency is above half the system clock ("Systemfrequency is too low!").
std::optional<std::string> Drt1TuningCommand(double hz, std::int32_t firstIfOffsetHz, int multiplierIndex);
// Control registers 1 and 2 (the latter from the multiplier and charge-pump indices).
std::string Drt1ControlRegister1();
std::string Drt1ControlRegister2(int multiplierIndex, int chargePumpIndex);

} // namespace drmq
