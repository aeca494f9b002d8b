// The FRG100 S-meter calibration "FRG100.cal": 256 readings by 59 bands of
// 500 kHz, one comma-terminated number per cell on the first line. UI thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace drmq {

constexpr int kCalibrationRows = 256;
constexpr int kCalibrationColumns = 59;
using TCalibrationTable = std::array<std::array<std::uint8_t, kCalibrationColumns>, kCalibrationRows>;

// Fills the table from a first line, row by row. Each number is stored as its
// low 8 bits; once less than 2 characters are left the last number repeats.
// A token that is not a whole number raises EConvertError; the cells filled
// before it keep their new values.
void ParseCalibrationLine(const std::string &line, TCalibrationTable &table);

// Reads the first line of the file and parses it. A missing or unreadable
// file raises EInOutError and leaves the table untouched.
void LoadCalibrationFile(const std::string &path, TCalibrationTable &table);

// The column of a tuned frequency: its 500 kHz band, limited to 0..58.
int CalibrationColumn(int khz);

} // namespace drmq
