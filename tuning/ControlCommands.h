// Commands of the receiver controls besides the frequency: attenuator, filter,
// AUX and speaker level of each serial model, and the DWT library arguments. Pure, any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

// One command as the serial writes that carry it, in order; empty = nothing to send.
using TSerialWrites = std::vector<std::string>;

// Attenuator command for the value "0", "1", ... (the cbatt index as text).
// The ICOM CI-V address text is read only for that model and raises
// EConvertError when it is not a whole number.
TSerialWrites AttenuatorCommand(int model, std::string_view value, std::string_view icomAddressText);
// Filter command for the cbfilter index.
TSerialWrites FilterCommand(int model, int index);
// AUX level command for the VolBar position.
TSerialWrites AuxLevelCommand(int model, int position);
// Speaker level command for the SpeakBar position.
TSerialWrites SpeakerLevelCommand(int model, int position);

// The CI-V destination address: the low 8 bits of a decimal or "$"-hexadecimal number.
unsigned char IcomAddressByte(std::string_view text);

// Argument of FrontendSetMode for the dwtmod item ("DRM", "AM", "FM"); none without a choice.
std::optional<int> DwtModeArgument(int itemIndex);
// Argument of FrontendSetAntennaMode for cmbant ("Loop", "Wire") and of
// FrontendSetRfAttenuator for cmbdwtatt ("DX", "Local"); none without a choice.
std::optional<int> DwtSwitchArgument(int itemIndex);

} // namespace drmq
