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

// The level display of the models that report a signal level.
std::vector<TOtherState> LevelDisplay() {
    return {Set(O::cbrxl, On, K), Show(O::gbsm), Show(O::lblsm)};
}
std::vector<TOtherState> LevelDisplayOff() {
    return {Set(O::cbrxl, Off, K), Hide(O::lblsm), Hide(O::gbsm)};
}
TModelControls DisabledWith(std::vector<TOtherState> others) {
    TModelControls c = control_sets::AllDisabled();
    c.Others = std::move(others);
    return c;
}
TModelControls NrdConnect(const std::vector<std::string> &filters) {
    return {Bar(K, K), Bar(K, K, {}, 255), List(On, On, kOnOffAttenuator), List(On, On, filters), {}};
}
TModelControls DwtFamilyConnect() {
    return {Bar(Off, Off), Bar(Off, Off), List(Off, Off), List(Off, Off),
            {Set(O::dwtmod, On, On), Set(O::cmbant, On, On), Set(O::cmbdwtatt, On, On), Show(O::gbsm),
             Show(O::lblsm), Show(O::lbldwtlif)}};
}
} // namespace

TModelControls ConnectControls(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    return entry ? entry->ConnectControls() : NoControls();
}

TModelControls DisconnectControls(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    return entry ? entry->DisconnectControls() : NoControls();
}

namespace control_sets {

TModelControls AllDisabled() {
    return {Bar(Off, K), Bar(Off, K), List(Off, K), List(Off, K), {}};
}

TModelControls Aor7030Connect() {
    return {RangeBar(On, 100, 20), RangeBar(On, 100, 20), List(On, On, kAorAttenuator), List(On, On, kAorFilter),
            LevelDisplay()};
}

TModelControls Frg100Connect() {
    return DisabledWith(LevelDisplay());
}

TModelControls Rx320dConnect() {
    return {RangeBar(K, 63, 13), RangeBar(On, 63, 13), List(Off, K), List(Off, K), {}};
}

TModelControls Pcr1000Connect() {
    return {Bar(K, K), RangeBar(On, 100, 20), List(On, K, kOnOffAttenuator), List(Off, K), {}};
}

TModelControls ElektorConnect() {
    return {Bar(Off, Off), Bar(Off, Off), List(Off, K), List(Off, K), {Show(O::Edit3), Show(O::Edit4)}};
}

TModelControls Ts850Connect() {
    return {Bar(K, K), Bar(K, K), List(K, K), List(K, K), LevelDisplay()};
}

TModelControls Nrd545Connect() {
    return {Bar(K, K), RangeBar(K, 255, 17), List(On, On, kOnOffAttenuator), List(On, On, kNrdFilter), {}};
}

TModelControls Nrd535Connect() {
    return NrdConnect(kNrdFilter);
}

TModelControls Nrd525Connect() {
    return NrdConnect(kNrd525Filter);
}

TModelControls DwtConnect() {
    TModelControls c = DwtFamilyConnect();
    c.Others.push_back(Set(O::cbrxl, On, K));
    return c;
}

TModelControls DwtCtConnect() {
    return DwtFamilyConnect();
}

TModelControls Drt1Connect() {
    return {Bar(K, Off), Bar(K, Off), List(K, Off), List(K, Off),
            {Show(O::OffsetCheck), Set(O::OffsetText, On, On), Show(O::Label1)}};
}

TModelControls IcomConnect() {
    return {Bar(K, K), Bar(K, K), List(On, On, kOnOffAttenuator), List(Off, Off), {}};
}

TModelControls LevelReceiverDisconnect() {
    return {Bar(Off, K), Bar(Off, K), Stored(), Stored(), LevelDisplayOff()};
}

TModelControls Frg100Disconnect() {
    return DisabledWith(LevelDisplayOff());
}

TModelControls Wrg303Disconnect() {
    return {Bar(Off, K), Bar(Off, K), List(On, K), List(On, K), {}};
}

TModelControls Pcr1000Disconnect() {
    return {Bar(Off, K), Bar(Off, K), Stored(), List(Off, K), {}};
}

TModelControls ElektorDisconnect() {
    return {Bar(K, Off), Bar(K, Off), List(K, K), List(K, K), {Hide(O::Edit3), Hide(O::Edit4)}};
}

TModelControls StoredListsDisconnect() {
    return {Bar(Off, K), Bar(Off, K), Stored(), Stored(), {}};
}

TModelControls DwtDisconnect() {
    return {Bar(Off, K), Bar(Off, K), Stored(On), List(Off, On),
            {Set(O::dwtmod, Off, Off), Set(O::cmbant, Off, Off), Set(O::cmbdwtatt, Off, Off), Hide(O::lblsm),
             Hide(O::gbsm), Hide(O::lbldwtlif), Set(O::cbrxl, Off, K)}};
}

TModelControls Drt1Disconnect() {
    return {Bar(K, On), Bar(K, On), List(K, On), List(K, On),
            {Set(O::Multiplikator, Off, Off), Set(O::Chargepump, Off, Off), Set(O::InitButton, Off, Off),
             Set(O::OffsetCheck, Off, Off), Set(O::OffsetText, Off, Off), Hide(O::Label1)}};
}

TModelControls Ts850Disconnect() {
    return {Bar(K, K), Bar(K, K), List(K, K), List(K, K), LevelDisplayOff()};
}

} // namespace control_sets

} // namespace drmq
