#include "rig/HamlibControls.h"

#include <algorithm>
#include <cmath>

namespace drmq {

namespace {
constexpr int kBarTop = 100;
const std::vector<std::string> kPassbandItems = {"Narrow", "Normal", "Wide"};

TSwitch OnIf(bool on) {
    return on ? TSwitch::On : TSwitch::Off;
}
} // namespace

TModelControls HamlibControls(const THamlibCaps &caps) {
    TModelControls c;
    c.VolBar.Enabled = OnIf(caps.AudioLevel);
    c.VolBar.Visible = TSwitch::On;
    if (caps.AudioLevel) c.VolBar.Range = TBarRange{0, kBarTop, 20};
    c.SpeakBar.Enabled = TSwitch::Off;
    const bool attenuator = !caps.AttenuatorSteps.empty();
    c.cbatt.Enabled = OnIf(attenuator);
    c.cbatt.Visible = TSwitch::On;
    if (attenuator) c.cbatt.Items = HamlibAttenuatorItems(caps.AttenuatorSteps);
    c.cbfilter.Enabled = OnIf(caps.Passbands);
    c.cbfilter.Visible = TSwitch::On;
    if (caps.Passbands) c.cbfilter.Items = kPassbandItems;
    const TSwitch level = OnIf(caps.Strength);
    c.Others = {{TOtherControl::cbrxl, {level, TSwitch::Keep}},
                {TOtherControl::gbsm, {TSwitch::Keep, level}},
                {TOtherControl::lblsm, {TSwitch::Keep, level}}};
    return c;
}

std::vector<std::string> HamlibAttenuatorItems(const std::vector<int> &steps) {
    std::vector<std::string> items{"0dB"};
    for (int db : steps) items.push_back(std::to_string(db) + "dB");
    return items;
}

int HamlibAttenuatorDb(const std::vector<int> &steps, int index) {
    if (index < 1 || index > static_cast<int>(steps.size())) return 0;
    return steps[static_cast<size_t>(index - 1)];
}

std::optional<int> HamlibAttenuatorIndex(const std::vector<int> &steps, int db) {
    if (db == 0) return 0;
    const auto it = std::find(steps.begin(), steps.end(), db);
    if (it == steps.end()) return std::nullopt;
    return static_cast<int>(it - steps.begin()) + 1;
}

std::optional<TPassband> HamlibPassbandAt(int index) {
    switch (index) {
    case 0: return TPassband::Narrow;
    case 1: return TPassband::Normal;
    case 2: return TPassband::Wide;
    default: return std::nullopt;
    }
}

float HamlibAudioLevel(int barPosition) {
    return static_cast<float>(kBarTop - std::clamp(barPosition, 0, kBarTop)) / kBarTop;
}

int HamlibBarPosition(float audioLevel) {
    return kBarTop - static_cast<int>(std::lround(std::clamp(audioLevel, 0.0F, 1.0F) * kBarTop));
}

} // namespace drmq
