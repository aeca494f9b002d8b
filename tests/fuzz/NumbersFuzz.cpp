// The number conversions of settings values, fields and receiver replies.
#include "FuzzInput.h"

#include "core/RunErrors.h"
#include "logging/SignalLevel.h"
#include "schedule/ScheduleEvaluation.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view text = fuzz::Text(data, size);
    int i = 0;
    const bool isInt = TryStrToInt(text, i);
    try {
        if (StrToInt(text) != i || !isInt) std::abort();
    } catch (const EConvertError &) {
        if (isInt) std::abort();
    }
    double d = 0;
    const bool isFloat = TryStrToFloat(text, d);
    try {
        const double strict = StrToFloat(text);
        if (!isFloat || (strict != d && !(std::isnan(strict) && std::isnan(d)))) std::abort();
    } catch (const EConvertError &) {
        if (isFloat) std::abort();
    }
    AntennaCorrectionValue(text);
    const int span = PreviewSpanOf(text);
    if (span < 1 || span > 60) std::abort();
    IsShownPower(text, text);
    Ts850Level(text, 0.0);
    return 0;
}
