// Signal-level conversions of the five kinds of receiver that report a level
// (AOR7030, DWT, FRG100, TS-850, Hamlib rigs) into dBµV, and the level display
// texts. Pure, any thread.
#pragma once

#include "rig/Calibration.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

namespace drmq {

// Whether a model (catalogue number) reports a signal level: AOR7030,
// FRG100, DWT, TS-850 and Hamlib rigs; only these write the log file.
bool ReportsSignalLevel(int model);

// The antenna correction setting in dB; a text that is not a number counts as 0.
double AntennaCorrectionValue(std::string_view text);

// AOR7030: the two S-meter bytes a and b, the attenuator list index and the
// correction give the level: a + b/5, expanded above 11.5, limited to 0..18,
// shifted by the attenuator, limited to 1..21, scaled to dBµV.
double Aor7030Level(std::uint8_t a, std::uint8_t b, int attenuatorIndex, double correction);

// DWT: the front end's 16-bit level minus the rounded correction, in 16 bits.
std::int16_t DwtLevel(std::int16_t rfLevel, double correction);

// FRG100: the calibrated level of an S-meter reading in the band of the
// tuned frequency (kHz).
double Frg100Level(const TCalibrationTable &table, std::uint8_t smeter, int khz, double correction);

// TS-850: the reply "SM0015;" gives 15 x 4 - 26 = 34 (less the correction);
// an empty reply counts as 0. A reply whose digits are no number gives no level.
std::optional<double> Ts850Level(std::string_view reply, double correction);

// Hamlib: the strength in dB relative to S9, with S9 = 34 dBuV, less the correction.
double HamlibLevel(int strengthDb, double correction);

// Shown in lblsm: the level rounded to an integer.
QString RoundedLevelText(double level);
// Shortest decimal form with up to 15 significant digits ("41.5", "12000").
QString ShortestDecimalText(double value, const QLocale &locale = QLocale());

} // namespace drmq
