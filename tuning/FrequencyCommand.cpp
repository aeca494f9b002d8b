#include "tuning/FrequencyCommand.h"

#include "core/RunErrors.h"
#include "rig/ReceiverModel.h"
#include "tuning/ControlCommands.h"

#include <algorithm>
#include <cmath>

namespace drmq {

namespace {
using namespace std::string_literals;
using TKind = TFrequencyCommand::TKind;

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

// Text commands: head, the kHz text filled to a width, tail. Filling to the
// width is the same as the prefix the receiver needs for 3, 4 or 5 digits.
struct TTextCommand {
    int model;
    const char *head;
    size_t width;
    const char *tail;
};
const TTextCommand kTextCommands[] = {
    {rmPCR1000, "K0", 7, "000020200\r\n"},
    {rmE1800, "\n00F", 5, "K0\r"},
    {rmNRD545, "F", 7, "000\r"},
    {rmNRD535, "F", 5, "000\r"},
    {rmNRD525, "F", 6, "00\r"},
    {rmTS850, "FA", 8, "000;"},
};

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

std::string DigitCommand(int model, std::string_view text, const TTuningSettings &settings) {
    for (const auto &c : kTextCommands)
        if (c.model == model) return (std::string(c.head) += Padded(text, c.width)) += c.tail;
    const std::string d5 = Padded(text, 5);
    switch (model) {
    case rmFRG100: return ("\x00"s += Frg100Digits(d5)) += '\x0A';
    case rmFRG8800: return ("\x01"s += Frg100Digits(d5)) += '\x01';
    case rmFT847: return Ft847Command(d5, settings);
    case rmICOM: return IcomCommand(Padded(text, 6), settings);
    default: return {};
    }
}

bool IsDigitModel(int model) {
    switch (model) {
    case rmFRG100: case rmFRG8800: case rmFT847: case rmPCR1000: case rmE1800: case rmNRD545:
    case rmICOM: case rmNRD535: case rmNRD525: case rmTS850:
        return true;
    default:
        return false;
    }
}

TFrequencyCommand Serial(std::string bytes) {
    TFrequencyCommand c;
    c.Kind = bytes.empty() ? TKind::None : TKind::Serial;
    c.Bytes = std::move(bytes);
    return c;
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
    if (IsDigitModel(model)) return Serial(IsDigitText(text) ? DigitCommand(model, text, settings) : std::string());
    TFrequencyCommand c;
    c.Khz = khz;
    c.Hz = std::int64_t{khz} * 1000;
    switch (model) {
    case rmAOR7030: return Serial(Aor7030Command(khz, settings.AOR7030Offset));
    case rmRX320D: return Serial(Rx320dCommand(khz));
    case rmWRG303:
    case rmWRG313: c.Kind = TKind::RadioLibrary; break;
    case rmDWT:
    case rmDWTCT: c.Kind = TKind::FrontendLibrary; break;
    case rmElektor: c.Kind = TKind::Elektor; break;
    case rmDRT1: c.Kind = TKind::DRT1; break;
    case rmHamlib: c.Kind = TKind::Hamlib; break;
    default: break;
    }
    return c;
}

} // namespace drmq
