#include "tuning/ControlCommands.h"

#include "core/RunErrors.h"
#include "rig/ReceiverModel.h"

#include <algorithm>
#include <cmath>

namespace drmq {

namespace {

const char CR = '\x0D';
const char LF = '\x0A';

std::string Byte(int value) {
    return std::string(1, static_cast<char>(value));
}

// The AOR7030 carries a level byte as two characters: the high nibble on
// 0x30, the low nibble on 0x60.
std::string AorNibbles(int value) {
    return Byte(0x30 + value / 16) + Byte(0x60 + value % 16);
}

std::string IcomFrame(unsigned char address, unsigned char command, unsigned char data) {
    return std::string{'\xFE', '\xFE', static_cast<char>(address), '\xE0', static_cast<char>(command),
                       static_cast<char>(data), '\xFD'};
}

// Decimal digits of value with zeros in front up to width.
std::string ZeroPadded(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return digits;
}

// The control commands a model speaks and the number of its filters.
TControlFamily FamilyOf(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    return entry ? entry->Controls : TControlFamily::None;
}

int FiltersOf(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    return entry ? entry->Filters : 0;
}

bool IsJrc(TControlFamily family) {
    return family == TControlFamily::Nrd545 || family == TControlFamily::Nrd;
}

} // namespace

unsigned char IcomAddressByte(std::string_view text) {
    return static_cast<unsigned char>(StrToInt(text) & 0xFF);
}

TSerialWrites AttenuatorCommand(int model, std::string_view value, std::string_view icomAddressText) {
    const TControlFamily family = FamilyOf(model);
    if (family == TControlFamily::Aor7030) {
        static const std::string_view kValues[] = {"0", "1", "2", "3", "4", "5"};
        for (int i = 0; i < 6; ++i)
            if (value == kValues[i]) return {"P", "3@", Byte(0x60 + i), "$"};
        return {};
    }
    const bool off = value == "0";
    const bool on = value == "1";
    if (!off && !on) return {};
    if (family == TControlFamily::Pcr1000) return {std::string(on ? "J4701" : "J4700") + CR + LF};
    if (IsJrc(family)) return {std::string(on ? "A1" : "A0") + CR};
    if (family == TControlFamily::Icom) {
        const unsigned char address = IcomAddressByte(icomAddressText);
        if (off) return {IcomFrame(address, 0x11, 0x00)};
        return {IcomFrame(address, 0x11, 0x18), IcomFrame(address, 0x11, 0x20)};
    }
    return {};
}

TSerialWrites FilterCommand(int model, int index) {
    const TControlFamily family = FamilyOf(model);
    const bool listed = index >= 0 && index < FiltersOf(model);
    if (family == TControlFamily::Aor7030 && listed) return {"1J", "P", "3D", Byte(0x61 + index), "#+"};
    if (IsJrc(family) && listed) return {"B" + std::to_string(index), std::string(1, CR)};
    return {};
}

TSerialWrites AuxLevelCommand(int model, int position) {
    const TControlFamily family = FamilyOf(model);
    if (family == TControlFamily::Aor7030) {
        const int a = 100 - position;
        const int b = std::clamp(static_cast<int>(std::trunc(a * 0.364 + 27.5)), 27, 63);
        return {"P", "2D", AorNibbles(b), "$"};
    }
    if (family == TControlFamily::Rx320d) return {std::string{'A', '\0', static_cast<char>(position), CR}};
    return {};
}

TSerialWrites SpeakerLevelCommand(int model, int position) {
    switch (FamilyOf(model)) {
    case TControlFamily::Aor7030: {
        const int a = 100 - position;
        const int b = std::min(static_cast<int>(std::trunc(a * 0.485 + 15.5)), 63);
        return {"P", "1N", AorNibbles(b), "$"};
    }
    case TControlFamily::Rx320d:
        return {std::string{'V', '\0', static_cast<char>(position), CR}};
    case TControlFamily::Pcr1000:
        return {"J40" + ZeroPadded(std::min(100 - position, 99), 2) + CR + LF};
    case TControlFamily::Nrd545:
        return {"JJ" + ZeroPadded(255 - position, 3), std::string(1, CR)};
    default:
        return {};
    }
}

std::optional<int> DwtModeArgument(int itemIndex) {
    static const int kModes[] = {1, 2, 6}; // DRM, AM, FM
    if (itemIndex < 0 || itemIndex > 2) return std::nullopt;
    return kModes[itemIndex];
}

std::optional<int> DwtSwitchArgument(int itemIndex) {
    // The library numbers both switches in list order.
    if (itemIndex < 0 || itemIndex > 1) return std::nullopt;
    return itemIndex;
}

} // namespace drmq
