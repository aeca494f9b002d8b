// Colour values and their text form in the settings file.
#include "core/RunErrors.h"
#include "schedule/Colors.h"

#include <QApplication>
#include <QPalette>
#include <cctype>
#include <gtest/gtest.h>

namespace drmq {
namespace {

struct NamedCase {
    const char *name;
    TColor value;
};

const NamedCase kNamed[] = {
    {"clBlack", 0x00000000},     {"clMaroon", 0x00000080},        {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},     {"clNavy", 0x00800000},          {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},      {"clGray", 0x00808080},          {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},       {"clLime", 0x0000FF00},          {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},      {"clFuchsia", 0x00FF00FF},       {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},     {"clMoneyGreen", 0x00C0DCC0},    {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},     {"clMedGray", 0x00A4A0A0},       {"clDefault", 0x20000000},
    {"clNone", 0x1FFFFFFF},      {"clScrollBar", 0x80000000},     {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002}, {"clInactiveCaption", 0x80000003}, {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},    {"clWindowFrame", 0x80000006},   {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008}, {"clCaptionText", 0x80000009},  {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B}, {"clAppWorkSpace", 0x8000000C}, {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E}, {"clBtnFace", 0x8000000F},   {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},  {"clBtnText", 0x80000012},       {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014}, {"cl3DDkShadow", 0x80000015}, {"cl3DLight", 0x80000016},
    {"clInfoText", 0x80000017},  {"clInfoBk", 0x80000018},        {"clGradientActiveCaption", 0x8000001B},
    {"clGradientInactiveCaption", 0x8000001C},
};

std::string Upper(std::string s) {
    for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(ScheduleColors, EveryNameReadsAndWritesItsValue) {
    for (const auto &n : kNamed) {
        EXPECT_EQ(ColorToString(n.value), n.name);
        TColor value = 0x12345678;
        ASSERT_TRUE(TryStringToColor(n.name, value)) << n.name;
        EXPECT_EQ(value, n.value) << n.name;
        EXPECT_EQ(StringToColor(Upper(n.name)), n.value) << n.name;
    }
}

TEST(ScheduleColors, UnnamedColoursAreDollarAndEightUpperCaseDigits) {
    const std::pair<TColor, const char *> cases[] = {
        {0x00030201, "$00030201"}, {0x00ABCDEF, "$00ABCDEF"}, {0x80000019, "$80000019"}, {0x02FF0000, "$02FF0000"}};
    for (const auto &[value, text] : cases) {
        EXPECT_EQ(ColorToString(value), text);
        EXPECT_EQ(StringToColor(text), value) << text;
    }
}

TEST(ScheduleColors, ReadsIntegerLiterals) {
    EXPECT_EQ(StringToColor("16711680"), 0x00FF0000u); // clBlue
    EXPECT_EQ(StringToColor("$00ff0000"), 0x00FF0000u);
    EXPECT_EQ(StringToColor("-2147483633"), 0x8000000Fu); // clBtnFace as a signed number
    EXPECT_EQ(StringToColor("0"), 0u);
}

TEST(ScheduleColors, UnreadableTextRaisesTheConversionError) {
    TColor value = 0x00FF0000;
    EXPECT_FALSE(TryStringToColor("clPink", value));
    EXPECT_EQ(value, 0x00FF0000u);
    EXPECT_FALSE(TryStringToColor("", value));
    try {
        StringToColor("clPink");
        FAIL() << "no error raised";
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "'clPink' ist kein gültiger Integerwert");
    }
}

TEST(ScheduleColors, ScreenColoursHaveRedInTheLowByte) {
    EXPECT_EQ(ToQColor(0x00030201), QColor(1, 2, 3));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x00030201u);
    EXPECT_EQ(ColorToString(FromQColor(QColor(0, 255, 0))), "clLime");
    EXPECT_EQ(ToQColor(0x8000000F), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(ToQColor(0x80000008), QApplication::palette().color(QPalette::Text));
    EXPECT_FALSE(ToQColor(kColorDefault).isValid());
    EXPECT_FALSE(ToQColor(kColorNone).isValid());
}

} // namespace
} // namespace drmq
