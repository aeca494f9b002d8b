#include "tuning/FrequencyCommand.h"

#include "core/RunErrors.h"
#include "rig/ReceiverModel.h"
#include "tuning/ControlCommands.h"

#include <algorithm>
#include <cmath>

namespace drmq {

namespace {
using namespace std::string_literals;

// The digit-based models use the characters of the text directly; they take
// texts of 3 to 5 decimal digits and send nothing for any other.
bool IsDigitText(std::string_view text) {
    return text.size() >= 3 && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The text filled with zeros on the left to width digits.
std::string Padded(std::string_view text, size_t width) {
    return std::string(width > text.size() ? width - text.size() : 0, '0').append(text);
}

// Packed BCD of two digit characters.
char Bcd(char high, char low) {
    return static_cast<char>(((high - '0') << 4) | (low - '0'));
}

// The three middle bytes of the FRG100 and FRG8800: 10 Hz units in packed
// BCD, least significant pair first (d is the text filled to 5 digits).
std::string Frg100Digits(const std::string &d) {
    return {Bcd(d[3], d[4]), Bcd(d[1], d[2]), Bcd('0', d[0])};
}

std::string Ft847Command(const std::string &d, const TTuningSettings &settings) {
    const char offset = static_cast<char>(StrToInt("$" + settings.FT847Offset) & 0xFF);
    return {Bcd('0', d[0]), Bcd(d[1], d[2]), Bcd(d[3], d[4]), offset, '\x01'};
}

// CI-V: Hz as ten BCD digits, least significant pair first (d is filled to 6).
std::string IcomCommand(const std::string &d, const TTuningSettings &settings) {
    const char address = static_cast<char>(IcomAddressByte(settings.ICOMRigAddress));
    return "\xFE\xFE"s + address + "\xE0\x05\x00"s + Bcd(d[5], '0') + Bcd(d[3], d[4]) + Bcd(d[1], d[2]) +
           "\x00\xFD"s;
}

// The digit-based families use the characters of the text directly.
std::string DigitCommand(const TReceiverEntry &entry, std::string_view text, const TTuningSettings &settings) {
    const std::string d5 = Padded(text, 5);
    switch (entry.Frequency) {
    case TFrequencyFamily::Text: return (std::string(entry.TextHead) += Padded(text, entry.TextWidth)) += entry.TextTail;
    case TFrequencyFamily::Frg100: return ("\x00"s += Frg100Digits(d5)) += '\x0A';
    case TFrequencyFamily::Frg8800: return ("\x01"s += Frg100Digits(d5)) += '\x01';
    case TFrequencyFamily::Ft847: return Ft847Command(d5, settings);
    case TFrequencyFamily::Icom: return IcomCommand(Padded(text, 6), settings);
    default: return {};
    }
}
} // namespace

std::string Aor7030Command(int khz, std::int32_t offsetHz) {
    // 376.6352228 tuning steps per kHz; the word goes out as six nibbles on
    // alternating bases 0x30 and 0x60, most significant first.
    auto word = static_cast<std::int64_t>(std::trunc((offsetHz * 0.001 + khz) * 376.6352228 + 0.5));
    std::string bytes = "P1J";
    for (int shift = 20; shift >= 0; shift -= 4) {
        const std::int64_t divisor = std::int64_t{1} << shift;
        const std::int64_t nibble = word / divisor;
        word -= nibble * divisor;
        bytes += static_cast<char>(nibble + (shift % 8 == 4 ? 0x30 : 0x60));
    }
    return bytes + "!,";
}

std::string Rx320dCommand(int khz) {
    const double mhz = khz / 1000.0;
    const int coarse = static_cast<int>(std::trunc((mhz - 0.00125) * 400)) + 18000;
    const int hi = coarse / 256;
    const int lo = coarse - 256 * hi;
    // The fine factor of the receiver's tuning formula; without it the
    // receiver sits on the 2.5 kHz coarse grid, up to 2.5 kHz too low.
    const std::int64_t adjusted = std::int64_t{khz} * 1000 - 1250;
    const std::int64_t fine = (adjusted % 2500) * 546 / 100;
    return "N"s + static_cast<char>(hi) + static_cast<char>(lo) + static_cast<char>((fine >> 8) & 0xFF) +
           static_cast<char>(fine & 0xFF) + "\x00\x00\r"s;
}

TFrequencyCommand FrequencyCommand(int model, std::string_view text, int khz, const TTuningSettings &settings) {
    TFrequencyCommand c;
    const TReceiverEntry *entry = FindReceiverModel(model);
    if (!entry) return c;
    switch (entry->Frequency) {
    case TFrequencyFamily::None: break;
    case TFrequencyFamily::Aor7030: c.Bytes = Aor7030Command(khz, settings.AOR7030Offset); break;
    case TFrequencyFamily::Rx320d: c.Bytes = Rx320dCommand(khz); break;
    case TFrequencyFamily::Hz:
        c.Khz = khz;
        c.Hz = std::int64_t{khz} * 1000;
        break;
    default:
        if (IsDigitText(text)) c.Bytes = DigitCommand(*entry, text, settings);
        break;
    }
    return c;
}

} // namespace drmq
