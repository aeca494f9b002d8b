// Colour values (red in the low byte) and their text form: a colour name
// such as "clBlue" or "$" with 8 hex digits. Pure functions, UI thread for
// the screen colours of system colours.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace drmq {

using TColor = std::uint32_t;
// Indices into the schedule colours, in the order of the "Colors" section.
enum TColorSlot { csActive, csActiveText, csOnair, csOnairText, csPreview, csPreviewText, csCount };
// The six schedule colours in the order of TColorSlot.
using TScheduleColors = std::array<TColor, csCount>;

// System colours are this flag plus the system colour index.
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor kColorDefault = 0x20000000u;     // clDefault
constexpr TColor kColorNone = 0x1FFFFFFFu;        // clNone
constexpr TColor kColorBlack = 0x00000000u;       // clBlack
constexpr TColor kColorBtnFace = 0x8000000Fu;     // clBtnFace
constexpr TColor kColorWindowText = 0x80000008u;  // clWindowText
constexpr TColor kColorBtnText = 0x80000012u;     // clBtnText

// A name (any letter case) or an integer literal (decimal, "$"/"0x" hex).
bool TryStringToColor(std::string_view text, TColor &color);
// Raises EConvertError ("'%s' ist kein gültiger Integerwert") when unreadable.
TColor StringToColor(std::string_view text);
// The colour's name when it has one, else "$" and 8 upper-case hex digits.
std::string ColorToString(TColor color);
// Screen colour: plain RGB as it is, system colours from the application's
// palette; the default colour and no colour give an invalid QColor.
QColor ToQColor(TColor color);
// A picked screen colour as a plain RGB value.
TColor FromQColor(const QColor &color);

} // namespace drmq
