// The S-meter calibration file, read by its path as the program reads it.
#include "FuzzInput.h"

#include "core/RunErrors.h"
#include "rig/Calibration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    TCalibrationTable table{};
    try {
        LoadCalibrationFile(fuzz::AsFile(fuzz::Text(data, size)), table);
    } catch (const EConvertError &) {
        // A token that is no number: reported to the user, table partly filled.
    }
    return 0;
}
