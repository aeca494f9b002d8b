#include "schedule/Colors.h"

#include "app/core/RunErrors.h"

#include <array>
#include <cstdio>

namespace drmq {

namespace {
struct NamedColor {
    const char *name;
    TColor value;
};

constexpr std::array<NamedColor, 16> kNames = {{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}
} // namespace

bool TryStringToColor(std::string_view text, TColor &color) {
    for (const auto &n : kNames) {
        if (EqualNoCase(text, n.name)) {
            color = n.value;
            return true;
        }
    }
    int value = 0;
    if (!TryStrToInt(text, value)) return false;
    color = static_cast<TColor>(value);
    return true;
}

TColor StringToColor(std::string_view text) {
    TColor color = 0;
    if (!TryStringToColor(text, color)) color = static_cast<TColor>(StrToInt(text));
    return color;
}

std::string ColorToString(TColor color) {
    for (const auto &n : kNames)
        if (n.value == color) return n.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$%08X", color);
    return buf;
}

QColor ToQColor(TColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace drmq
