// The schedule file as a server sends it: loaded and evaluated with every
// option on, so the time, day and power fields are read too.
#include "FuzzInput.h"

#include "schedule/ScheduleEvaluation.h"
#include "schedule/ScheduleLoader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    ScheduleTable table = ParseSchedule(fuzz::Text(data, size));
    // Noon of a Wednesday, and half a minute before midnight.
    for (double now : {45000.5, 45000.99965}) {
        const TEvaluation evaluation = EvaluateSchedule(table, now, {true, true, true, 60});
        for (const TScheduleRow &row : evaluation.Rows)
            if (row.Entry < 0 || row.Entry >= table.EntryCount()) std::abort();
    }
    return 0;
}
