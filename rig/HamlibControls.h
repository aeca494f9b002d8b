// The receiver controls of a Hamlib rig: which ones its capabilities enable,
// the attenuator and filter lists, and the volume bar's scale. Pure, any thread.
#pragma once

#include "rig/ControlStates.h"
#include "rig/HamlibRig.h"

#include <optional>
#include <string>
#include <vector>

namespace drmq {

// The controls once the rig has said what it offers; what it lacks stays disabled.
TModelControls HamlibControls(const THamlibCaps &caps);

// "0dB" followed by each attenuator step ("10dB", "20dB", ...).
std::vector<std::string> HamlibAttenuatorItems(const std::vector<int> &steps);
// The dB of an attenuator list index (0 for "0dB" or an index outside the list).
int HamlibAttenuatorDb(const std::vector<int> &steps, int index);
// The list index of an attenuation in dB, if the list has it.
std::optional<int> HamlibAttenuatorIndex(const std::vector<int> &steps, int db);

// The filter list's passband of an index; nothing outside the list.
std::optional<TPassband> HamlibPassbandAt(int index);
// The filter list index shown after a connect, which sets the widest passband.
constexpr int kHamlibWideIndex = 2;

// The volume bar as for the other models: position 100 is quietest.
float HamlibAudioLevel(int barPosition);
int HamlibBarPosition(float audioLevel);

} // namespace drmq
