// Text of the reception log "DRMQuodra.log": header, minute lines and closing
// lines of one block, as single-byte text with CR LF line ends. Pure, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drmq {

// Rounds to the nearest integer; a value exactly halfway goes to the even one.
double RoundHalfEven(double value);

// Lines 1-8 of a block: empty line, ">>>>", "DRM Quodra", start time (UTC
// days), frequency text in kHz and receiver name, empty line, column heads.
std::string LogHeader(double utcStart, std::string_view frequencyKhz, std::string_view receiver);

// "  0003   42": the minute index with at least 4 digits and the average
// level rounded, in a field of exactly 3 characters (-100 becomes "-10").
std::string LogMinuteLine(std::uint16_t minuteIndex, double averageLevel);

// Empty line, "RXL min: 12.0, max: 60.5", "<<<<".
std::string LogClosingLines(double rxlMin, double rxlMax);

} // namespace drmq
