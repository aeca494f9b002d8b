#include "logging/SignalLevel.h"

#include "core/RunErrors.h"
#include "logging/LogFormat.h"
#include "rig/ReceiverModel.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace drmq {

namespace {
constexpr double kAttenuatorStep = 1.6666666666666667;
// S9 is 50 uV at 50 ohms.
constexpr double kS9Dbuv = 34.0;
} // namespace

bool ReportsSignalLevel(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    return entry && entry->Level != TLevelKind::None;
}

double HamlibLevel(int strengthDb, double correction) {
    return kS9Dbuv + strengthDb - correction;
}

double AntennaCorrectionValue(std::string_view text) {
    double value = 0.0;
    if (!TryStrToFloat(text, value) || !std::isfinite(value)) return 0.0;
    return value;
}

double Aor7030Level(std::uint8_t a, std::uint8_t b, int attenuatorIndex, double correction) {
    double v = a + b / 5.0;
    if (v > 11.5) v = v + (v - 11.5) * 0.66;
    v = std::clamp(v, 0.0, 18.0);
    v = v + (attenuatorIndex - 1) * kAttenuatorStep;
    v = std::clamp(v, 1.0, 21.0);
    return v * 6 - 20 - correction;
}

std::int16_t DwtLevel(std::int16_t level, double correction) {
    // The rounded correction is taken in 16 bits like the level.
    const double rounded = RoundHalfEven(correction);
    const auto c = static_cast<std::int16_t>(
        std::fabs(rounded) < 2147483647.0 ? static_cast<std::int32_t>(rounded) : 0);
    return static_cast<std::int16_t>(level - c);
}

double Frg100Level(const TCalibrationTable &table, std::uint8_t smeter, int khz, double correction) {
    return table[smeter][static_cast<size_t>(CalibrationColumn(khz))] - correction;
}

std::optional<double> Ts850Level(std::string_view reply, double correction) {
    std::string r(reply);
    if (const auto semicolon = r.find(';'); semicolon != std::string::npos) r.erase(semicolon, 1);
    if (const auto sm = r.find("SM"); sm != std::string::npos) r.erase(sm, 2);
    int n = 0;
    if (!r.empty() && !TryStrToInt(r, n)) return std::nullopt;
    return n * 4.0 - 26.0 - correction;
}

QString RoundedLevelText(double level) {
    return QString::number(RoundHalfEven(level) + 0.0, 'f', 0);
}

QString ShortestDecimalText(double value, const QLocale &locale) {
    QLocale plain(locale);
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 15);
}

} // namespace drmq
