// Text of the reception log "DRMQuodra.log": header, minute lines and closing
// lines of one block, as single-byte text with CR LF line ends. Pure, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drmq {

// The fixed texts of a block, for the writer and for reading it back.
inline constexpr std::string_view kLogBlockStart = ">>>>";
inline constexpr std::string_view kLogProgramName = "DRM Quodra";
inline constexpr std::string_view kLogStartLabel = "Starttime (UTC)  ";
inline constexpr std::string_view kLogFrequencyLabel = "Frequency        ";
inline constexpr std::string_view kLogKhzSuffix = " kHz";
inline constexpr std::string_view kLogReceiverLabel = "Receiver         ";
inline constexpr std::string_view kLogColumnHeads = "MINUTE  RXL    Longitude   Latitude";
inline constexpr std::string_view kLogClosingLabel = "RXL min: ";
inline constexpr std::string_view kLogBlockEnd = "<<<<";

// Rounds to the nearest integer; a value exactly halfway goes to the even one.
double RoundHalfEven(double value);

// "2005-03-05 07:08:09": a UTC date-time (days) to the whole second, as the
// header's start time shows it.
std::string LogDateTimeText(double utc);

// Lines 1-8 of a block: empty line, ">>>>", "DRM Quodra", start time (UTC
// days), frequency text in kHz and receiver name, empty line, column heads.
std::string LogHeader(double utcStart, std::string_view frequencyKhz, std::string_view receiver);

// "  0003   42": the minute index with at least 4 digits and the average
// level rounded, in a field of exactly 3 characters (-100 becomes "-10").
std::string LogMinuteLine(std::uint16_t minuteIndex, double averageLevel);

// Empty line, "RXL min: 12.0, max: 60.5", "<<<<".
std::string LogClosingLines(double rxlMin, double rxlMax);

} // namespace drmq
