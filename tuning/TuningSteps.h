// Frequency arithmetic of the tuning controls: the step list, the step buttons'
// edge limits, the mouse-wheel notch counting and the band quick-select table. Pure, UI thread.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace drmq {

// The tuning range of every receiver, in kHz.
inline constexpr int kLowestKhz = 150;
inline constexpr int kHighestKhz = 29999;

enum class TStepDirection { Up = 1, Down = -1 };

// Step of a cbstep index ("10 kHz", "9 kHz", "5 kHz", "1 kHz"); none outside the list.
std::optional<int> StepKhz(int stepIndex);

// The TuneTarget of one step from the field text: the field's value plus or
// minus the step; the previous target when the step index is outside the
// list. Raises EConvertError when the field is not a whole number.
int StepTarget(std::string_view fieldText, int stepIndex, TStepDirection direction, int previousTarget);

// The step buttons never step beyond the tuning range: up stops at 29999, down at 150.
int LimitToEdge(int target, TStepDirection direction);

// Counts wheel notches: only every divisor-th notch (both directions counted
// together) acts, in its own direction. A divisor of 0 or less never acts.
class TWheelCounter {
public:
    // angleDelta in eighths of a degree as the window system reports it
    // (120 per notch); fine-grained wheels add up to whole notches.
    // Returns the direction of every notch that acts, in order.
    std::vector<TStepDirection> Notches(int angleDelta, int divisor);

    int WheelCount = 0;

private:
    int partialAngle_ = 0;
};

struct TBand {
    const char *Name;
    const char *Khz;
    int StepIndexAfter; // cbstep index chosen after tuning
};

// The 15 bands of cbband, in list order.
const std::array<TBand, 15> &Bands();
// The band of a cbband index; none outside the table.
std::optional<TBand> BandAt(int index);

} // namespace drmq
