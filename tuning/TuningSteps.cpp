#include "tuning/TuningSteps.h"

#include "core/RunErrors.h"

#include <algorithm>
#include <limits>

namespace drmq {

namespace {
constexpr int kAnglePerNotch = 120;
constexpr int kStep9kHz = 1;
constexpr int kStep5kHz = 2;
} // namespace

std::optional<int> StepKhz(int stepIndex) {
    static const int kSteps[] = {10, 9, 5, 1};
    if (stepIndex < 0 || stepIndex > 3) return std::nullopt;
    return kSteps[stepIndex];
}

int StepTarget(std::string_view fieldText, int stepIndex, TStepDirection direction, int previousTarget) {
    const std::optional<int> step = StepKhz(stepIndex);
    if (!step) return previousTarget;
    // Saturates instead of overflowing at the ends of the integer range.
    const long long target = static_cast<long long>(StrToInt(fieldText)) + static_cast<int>(direction) * *step;
    return static_cast<int>(std::clamp<long long>(target, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int LimitToEdge(int target, TStepDirection direction) {
    if (direction == TStepDirection::Up && target > kHighestKhz) return kHighestKhz;
    if (direction == TStepDirection::Down && target < kLowestKhz) return kLowestKhz;
    return target;
}

std::vector<TStepDirection> TWheelCounter::Notches(int angleDelta, int divisor) {
    std::vector<TStepDirection> acting;
    partialAngle_ += angleDelta;
    while (partialAngle_ >= kAnglePerNotch || partialAngle_ <= -kAnglePerNotch) {
        const TStepDirection direction = partialAngle_ > 0 ? TStepDirection::Up : TStepDirection::Down;
        partialAngle_ -= static_cast<int>(direction) * kAnglePerNotch;
        // With a divisor of 0 or less the count would only grow; it stays put
        // instead, so it can never wrap around into a match.
        if (divisor <= 0) continue;
        if (++WheelCount != divisor) continue;
        WheelCount = 0;
        acting.push_back(direction);
    }
    return acting;
}

const std::array<TBand, 15> &Bands() {
    static const std::array<TBand, 15> kBands = {{
        {"LW", "153", kStep9kHz},    {"MW", "531", kStep9kHz},    {"120m", "2300", kStep5kHz},
        {"90m", "3200", kStep5kHz},  {"75m", "3900", kStep5kHz},  {"60m", "4750", kStep5kHz},
        {"49m", "5800", kStep5kHz},  {"41m", "7100", kStep5kHz},  {"31m", "9250", kStep5kHz},
        {"25m", "11600", kStep5kHz}, {"22m", "13570", kStep5kHz}, {"19m", "15100", kStep5kHz},
        {"16m", "17480", kStep5kHz}, {"13m", "21450", kStep5kHz}, {"11m", "25670", kStep5kHz},
    }};
    return kBands;
}

std::optional<TBand> BandAt(int index) {
    if (index < 0 || index >= static_cast<int>(Bands().size())) return std::nullopt;
    return Bands()[static_cast<size_t>(index)];
}

} // namespace drmq
