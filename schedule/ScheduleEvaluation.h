// Evaluation of the schedule at a UTC instant: which entries are on air, which
// start within the preview span, and the rows the grid lists. Pure, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace drmq {

enum class TRowMark : std::uint8_t { None, OnAir, Next };
// "", "onair", "next": the text of the grid's hidden column 8.
std::string_view RowMarkText(TRowMark mark);

// One listed grid row: the entry's index in ScheduleTable::Entries and its mark.
struct TScheduleRow {
    int Entry = 0;
    TRowMark Mark = TRowMark::None;
    bool operator==(const TScheduleRow &) const = default;
};

struct TEvaluationOptions {
    bool ShowAll = false;   // "All": list entries that are not on air too
    bool PowerTest = true;  // "Low power" unchecked: hide weak transmitters
    bool Preview = false;   // "Preview": list entries starting within the span
    int PreviewSpan = 60;   // minutes, 1..60
};

struct TEvaluation {
    std::vector<TScheduleRow> Rows;
    int OnAirCount = 0;
    int PreviewCount = 0;
};

// Whether a transmitter of this power on this frequency is listed while
// "Low power" is unchecked. A power that is not a strict decimal number
// (no trailing blank) hides the entry; a frequency that is not one counts as 0.
bool IsShownPower(std::string_view frequencyKHz, std::string_view powerKW);

// Whether the entry counts at the instant (days since 1899-12-30, UTC):
// weekday, start/stop with the midnight tail, and the power test when asked.
// An entry whose times are not four digits of a valid time never counts.
bool EntryCountsAt(const ScheduleEntry &entry, double instant, bool powerTest);

// The preview span from the text of its field: 30 when it is not an integer,
// then limited to 1..60.
int PreviewSpanOf(std::string_view text);

// Rewrites every entry's AirState and lists the rows in evaluation order: the
// on-air pass in table order, then the preview rows marked "next".
TEvaluation EvaluateSchedule(ScheduleTable &table, double now, const TEvaluationOptions &options);

} // namespace drmq
