// Which receiver controls each model enables, shows and fills on connect, and
// what its disconnect puts back: the per-model tables as data. Pure, any thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace drmq {

// A state that is set, or left as it is.
enum class TSwitch { Keep, On, Off };

struct TWidgetState {
    TSwitch Enabled = TSwitch::Keep;
    TSwitch Visible = TSwitch::Keep;
};

struct TBarRange {
    int Min;
    int Max;
    int Tick;
};

struct TBarState : TWidgetState {
    std::optional<TBarRange> Range;
    // Position set after the range; limited to the range by the bar.
    std::optional<int> Position;
};

struct TListState : TWidgetState {
    // Emptied and filled with these items, then the remembered index selected.
    std::optional<std::vector<std::string>> Items;
    // The list's current index is copied into the remembered index first.
    bool Store = false;
};

// The receiver controls besides the two bars and the two lists.
enum class TOtherControl {
    cbrxl, gbsm, lblsm, lbldwtlif, dwtmod, cmbant, cmbdwtatt, Edit3, Edit4,
    OffsetCheck, OffsetText, Label1, Multiplikator, Chargepump, InitButton
};

struct TOtherState {
    TOtherControl Control;
    TWidgetState State;
};

// Applied in this order: VolBar, SpeakBar, cbatt, cbfilter, the others.
struct TModelControls {
    TBarState VolBar;
    TBarState SpeakBar;
    TListState cbatt;
    TListState cbfilter;
    std::vector<TOtherState> Others;
};

// The controls of a model on connect and on disconnect (besides the common
// sets that every model switches), as its catalogue row names them; nothing
// for a number the catalogue does not have.
TModelControls ConnectControls(int model);
TModelControls DisconnectControls(int model);

// Changes nothing.
inline TModelControls NoControls() { return {}; }

// The control sets the catalogue rows name.
namespace control_sets {
// The four receiver controls disabled.
TModelControls AllDisabled();
TModelControls Aor7030Connect();
TModelControls Frg100Connect();
TModelControls Rx320dConnect();
TModelControls Pcr1000Connect();
TModelControls ElektorConnect();
TModelControls Ts850Connect();
TModelControls Nrd545Connect();
TModelControls Nrd535Connect();
TModelControls Nrd525Connect();
TModelControls DwtConnect();
TModelControls DwtCtConnect();
TModelControls Drt1Connect();
TModelControls IcomConnect();
// Lists remembered, bars disabled, level display hidden (AOR7030, Hamlib).
TModelControls LevelReceiverDisconnect();
TModelControls Frg100Disconnect();
TModelControls Wrg303Disconnect();
TModelControls Pcr1000Disconnect();
TModelControls ElektorDisconnect();
// Lists remembered, bars disabled (the NRD family, ICOM).
TModelControls StoredListsDisconnect();
TModelControls DwtDisconnect();
TModelControls Drt1Disconnect();
TModelControls Ts850Disconnect();
} // namespace control_sets

} // namespace drmq
