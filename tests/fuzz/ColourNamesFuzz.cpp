// Colour values from the settings file: a name or a number, and back.
#include "FuzzInput.h"

#include "core/RunErrors.h"
#include "schedule/Colors.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view text = fuzz::Text(data, size);
    TColor color = 0;
    if (!TryStringToColor(text, color)) {
        try {
            StringToColor(text);
            std::abort();
        } catch (const EConvertError &) {
        }
        return 0;
    }
    TColor again = 0;
    if (!TryStringToColor(ColorToString(color), again) || again != color) std::abort();
    return 0;
}
