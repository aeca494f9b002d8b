#include "schedule/Colors.h"

#include "core/RunErrors.h"
#include "core/SameText.h"

#include <QApplication>
#include <QPalette>
#include <cstdio>

namespace drmq {

namespace {
struct NamedColor {
    const char *name;
    TColor value;
};

constexpr TColor Sys(TColor index) { return kSystemColorFlag | index; }

constexpr NamedColor kNames[] = {
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
    {"clDefault", kColorDefault}, {"clNone", kColorNone},
    {"clScrollBar", Sys(0)}, {"clBackground", Sys(1)}, {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)}, {"clMenu", Sys(4)}, {"clWindow", Sys(5)}, {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)}, {"clWindowText", Sys(8)}, {"clCaptionText", Sys(9)}, {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)}, {"clAppWorkSpace", Sys(12)}, {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)}, {"clBtnFace", Sys(15)}, {"clBtnShadow", Sys(16)}, {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)}, {"clInactiveCaptionText", Sys(19)}, {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)}, {"cl3DLight", Sys(22)}, {"clInfoText", Sys(23)}, {"clInfoBk", Sys(24)},
    {"clGradientActiveCaption", Sys(27)}, {"clGradientInactiveCaption", Sys(28)},
};

// The palette entry that plays the part of each system colour here.
QColor SystemColor(TColor index) {
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 1:                                         // desktop background
    case 4:                                         // menu
    case 10:                                        // active border
    case 11: return palette.color(QPalette::Window); // inactive border
    case 5: return palette.color(QPalette::Base);
    case 7:
    case 19: return palette.color(QPalette::WindowText);
    case 8: return palette.color(QPalette::Text);
    case 2:
    case 13:
    case 27: return palette.color(QPalette::Highlight);
    case 9:
    case 14: return palette.color(QPalette::HighlightedText);
    case 3:
    case 12:
    case 28: return palette.color(QPalette::Mid);
    case 0:
    case 15: return palette.color(QPalette::Button);
    case 6:
    case 21: return palette.color(QPalette::Shadow);
    case 16: return palette.color(QPalette::Dark);
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);
    case 22: return palette.color(QPalette::Midlight);
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    default: return palette.color(QPalette::Window);
    }
}
} // namespace

bool TryStringToColor(std::string_view text, TColor &color) {
    for (const auto &n : kNames) {
        if (SameText(text, n.name)) {
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
    if (color == kColorDefault || color == kColorNone) return QColor();
    if (color & kSystemColorFlag) return SystemColor(color & 0xFFu);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor FromQColor(const QColor &color) {
    const QColor rgb = color.toRgb();
    return static_cast<TColor>(rgb.red()) | static_cast<TColor>(rgb.green()) << 8 |
           static_cast<TColor>(rgb.blue()) << 16;
}

} // namespace drmq
