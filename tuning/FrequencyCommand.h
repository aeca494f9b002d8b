// The tuning command of every receiver model, from the frequency text in kHz
// and the tuning settings. Pure functions, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drmq {

struct TTuningSettings {
    std::int32_t AOR7030Offset = 0;      // Hz, added to the AOR7030 frequency
    std::string FT847Offset = "00";      // two hex digits: the FT847's fourth byte
    std::string ICOMRigAddress = "$00";  // CI-V destination address
};

// A serial model's command is Bytes; the others (libraries, synthesizers,
// Hamlib) take the frequency itself as Khz and Hz. Nothing to send: all empty.
struct TFrequencyCommand {
    std::string Bytes;
    std::int64_t Khz = 0;
    std::int64_t Hz = 0;
    bool Empty() const { return Bytes.empty() && Hz == 0; }
};

// The command of the model (catalogue number) for the frequency text (decimal digits, in kHz) whose
// whole-number value is khz. The digit-based models send nothing unless the
// text has 3, 4 or 5 characters, all decimal digits. A FT847 offset or ICOM
// address that does not convert raises EConvertError.
TFrequencyCommand FrequencyCommand(int model, std::string_view text, int khz, const TTuningSettings &settings);

// The single encoders, exposed for their own tests.
std::string Aor7030Command(int khz, std::int32_t offsetHz);
std::string Rx320dCommand(int khz);

} // namespace drmq
