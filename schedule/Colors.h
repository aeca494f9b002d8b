// Colour values (red in the low byte) and their text form: a colour name
// such as "clBlue" or "$" with 8 hex digits. Pure functions, any thread.
#pragma once

#include <QColor>
#include <cstdint>
#include <string>
#include <string_view>

namespace drmq {

using TColor = std::uint32_t;

// A name (any letter case) or an integer literal (decimal, "$"/"0x" hex).
bool TryStringToColor(std::string_view text, TColor &color);
// Raises EConvertError ("'%s' ist kein gültiger Integerwert") when unreadable.
TColor StringToColor(std::string_view text);
// The colour's name when it has one, else "$" and 8 upper-case hex digits.
std::string ColorToString(TColor color);
// Screen colour of a plain RGB value; system colours resolve to the palette.
QColor ToQColor(TColor color);

} // namespace drmq
