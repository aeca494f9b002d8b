#include "rig/ControlStates.h"

#include "rig/ReceiverModel.h"

namespace drmq {

namespace {
using O = TOtherControl;
constexpr TSwitch K = TSwitch::Keep;
constexpr TSwitch On = TSwitch::On;
constexpr TSwitch Off = TSwitch::Off;

TBarState Bar(TSwitch enabled, TSwitch visible, std::optional<TBarRange> range = {},
              std::optional<int> position = {}) {
    TBarState s;
    s.Enabled = enabled;
    s.Visible = visible;
    s.Range = range;
    s.Position = position;
    return s;
}
// A bar set to a new range with its position at the top of it.
TBarState RangeBar(TSwitch visible, int max, int tick) { return Bar(On, visible, TBarRange{0, max, tick}, max); }

TListState List(TSwitch enabled, TSwitch visible, std::optional<std::vector<std::string>> items = {},
                bool store = false) {
    TListState s;
    s.Enabled = enabled;
    s.Visible = visible;
    s.Items = std::move(items);
    s.Store = store;
    return s;
}
TListState Stored(TSwitch visible = K) { return List(Off, visible, {}, true); }

TOtherState Set(O control, TSwitch enabled, TSwitch visible) { return {control, {enabled, visible}}; }
TOtherState Show(O control) { return Set(control, K, On); }
TOtherState Hide(O control) { return Set(control, K, Off); }

const std::vector<std::string> kAorAttenuator = {"+10dB", "0dB", "-10dB", "-20dB", "-30dB", "-40dB"};
const std::vector<std::string> kAorFilter = {"Filter1", "Filter2", "Filter3", "Filter4", "Filter5", "Filter6"};
const std::vector<std::string> kOnOffAttenuator = {"A OFF", "A ON"};
const std::vector<std::string> kNrdFilter = {"Wide", "Inter", "Narrow"};
const std::vector<std::string> kNrd525Filter = {"Wide", "Inter", "Narrow", "AUX"};

// The four receiver controls all disabled.
TModelControls AllDisabled() {
    return {Bar(Off, K), Bar(Off, K), List(Off, K), List(Off, K), {}};
}
// The level display of the models that report a signal level.
std::vector<TOtherState> LevelDisplay() {
    return {Set(O::cbrxl, On, K), Show(O::gbsm), Show(O::lblsm)};
}
std::vector<TOtherState> LevelDisplayOff() {
    return {Set(O::cbrxl, Off, K), Hide(O::lblsm), Hide(O::gbsm)};
}
} // namespace

TModelControls ConnectControls(int model) {
    switch (model) {
    case rmAOR7030:
        return {RangeBar(On, 100, 20), RangeBar(On, 100, 20), List(On, On, kAorAttenuator),
                List(On, On, kAorFilter), LevelDisplay()};
    case rmFRG100: {
        TModelControls c = AllDisabled();
        c.Others = LevelDisplay();
        return c;
    }
    case rmFRG8800:
    case rmFT847:
    case rmWRG303:
    case rmWRG313:
        return AllDisabled();
    case rmRX320D:
        return {RangeBar(K, 63, 13), RangeBar(On, 63, 13), List(Off, K), List(Off, K), {}};
    case rmPCR1000:
        return {Bar(K, K), RangeBar(On, 100, 20), List(On, K, kOnOffAttenuator), List(Off, K), {}};
    case rmElektor:
        return {Bar(Off, Off), Bar(Off, Off), List(Off, K), List(Off, K), {Show(O::Edit3), Show(O::Edit4)}};
    case rmTS850:
        return {Bar(K, K), Bar(K, K), List(K, K), List(K, K), LevelDisplay()};
    case rmNRD545:
        return {Bar(K, K), RangeBar(K, 255, 17), List(On, On, kOnOffAttenuator), List(On, On, kNrdFilter), {}};
    case rmDWT:
    case rmDWTCT: {
        TModelControls c{Bar(Off, Off), Bar(Off, Off), List(Off, Off), List(Off, Off),
                         {Set(O::dwtmod, On, On), Set(O::cmbant, On, On), Set(O::cmbdwtatt, On, On), Show(O::gbsm),
                          Show(O::lblsm), Show(O::lbldwtlif)}};
        if (model == rmDWT) c.Others.push_back(Set(O::cbrxl, On, K));
        return c;
    }
    case rmDRT1:
        return {Bar(K, Off), Bar(K, Off), List(K, Off), List(K, Off),
                {Show(O::OffsetCheck), Set(O::OffsetText, On, On), Show(O::Label1)}};
    case rmICOM:
        return {Bar(K, K), Bar(K, K), List(On, On, kOnOffAttenuator), List(Off, Off), {}};
    case rmHamlib: // the rest follows once the rig has said what it offers
        return AllDisabled();
    case rmNRD535:
    case rmNRD525:
        return {Bar(K, K), Bar(K, K, {}, 255), List(On, On, kOnOffAttenuator),
                List(On, On, model == rmNRD525 ? kNrd525Filter : kNrdFilter), {}};
    default: // E1800 and indices outside the catalogue change nothing
        return {};
    }
}

TModelControls DisconnectControls(int model) {
    switch (model) {
    case rmAOR7030:
        return {Bar(Off, K), Bar(Off, K), Stored(), Stored(), LevelDisplayOff()};
    case rmFRG100: {
        TModelControls c = AllDisabled();
        c.Others = LevelDisplayOff();
        return c;
    }
    case rmFRG8800:
    case rmFT847:
    case rmRX320D:
    case rmWRG313:
        return AllDisabled();
    case rmWRG303:
        return {Bar(Off, K), Bar(Off, K), List(On, K), List(On, K), {}};
    case rmPCR1000:
        return {Bar(Off, K), Bar(Off, K), Stored(), List(Off, K), {}};
    case rmElektor:
        return {Bar(K, Off), Bar(K, Off), List(K, K), List(K, K), {Hide(O::Edit3), Hide(O::Edit4)}};
    case rmNRD545:
    case rmNRD535:
    case rmNRD525:
    case rmICOM:
        return {Bar(Off, K), Bar(Off, K), Stored(), Stored(), {}};
    case rmDWT:
    case rmDWTCT:
        return {Bar(Off, K), Bar(Off, K), Stored(On), List(Off, On),
                {Set(O::dwtmod, Off, Off), Set(O::cmbant, Off, Off), Set(O::cmbdwtatt, Off, Off), Hide(O::lblsm),
                 Hide(O::gbsm), Hide(O::lbldwtlif), Set(O::cbrxl, Off, K)}};
    case rmDRT1:
        return {Bar(K, On), Bar(K, On), List(K, On), List(K, On),
                {Set(O::Multiplikator, Off, Off), Set(O::Chargepump, Off, Off), Set(O::InitButton, Off, Off),
                 Set(O::OffsetCheck, Off, Off), Set(O::OffsetText, Off, Off), Hide(O::Label1)}};
    case rmTS850:
        return {Bar(K, K), Bar(K, K), List(K, K), List(K, K), LevelDisplayOff()};
    case rmHamlib:
        return {Bar(Off, K), Bar(Off, K), Stored(), Stored(), LevelDisplayOff()};
    default: // E1800 and indices outside the catalogue change nothing
        return {};
    }
}

} // namespace drmq
