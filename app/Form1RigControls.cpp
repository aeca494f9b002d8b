// Switching the receiver controls for the connected model and back.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "rig/ControlStates.h"

namespace drmq {

namespace {
void ApplySwitches(QWidget *widget, const TWidgetState &state) {
    if (state.Enabled != TSwitch::Keep) widget->setEnabled(state.Enabled == TSwitch::On);
    if (state.Visible != TSwitch::Keep) widget->setVisible(state.Visible == TSwitch::On);
}

// A new range or position that moves the bar runs its change action, which
// sends the model's level command while connected.
void ApplyBar(QSlider *bar, const TBarState &state) {
    ApplySwitches(bar, state);
    if (state.Range) {
        bar->setRange(state.Range->Min, state.Range->Max);
        bar->setTickInterval(state.Range->Tick);
    }
    if (state.Position) bar->setValue(*state.Position);
}

// Filling or selecting by program runs no change action, so no command goes out.
void ApplyList(QComboBox *list, const TListState &state, std::int16_t &remembered, bool &filled) {
    if (state.Store) remembered = static_cast<std::int16_t>(list->currentIndex());
    ApplySwitches(list, state);
    if (state.Items) {
        list->clear();
        for (const auto &item : *state.Items) list->addItem(QString::fromStdString(item));
        // A remembered index the new list does not have leaves no selection.
        list->setCurrentIndex(remembered < list->count() ? remembered : -1);
        filled = true;
    }
}

// While connected the model and port are locked and the tuning controls usable.
void SwitchCommonControls(TForm1 &form, bool connected) {
    for (QWidget *w : std::initializer_list<QWidget *>{form.cbrx, form.cbcom, form.rbswr}) w->setEnabled(!connected);
    for (QWidget *w : std::initializer_list<QWidget *>{form.cbband, form.cbstep, form.Edit1, form.Button1, form.Button2})
        w->setEnabled(connected);
    for (QPushButton *m : form.Mem) m->setEnabled(connected);
}
} // namespace

void TForm1::SwitchControlsOnConnect(const std::function<void()> &afterCommonSet) {
    SwitchCommonControls(*this, true);
    UpdateHamlibButton();
    if (afterCommonSet) afterCommonSet();
    ApplyModelControls(ConnectControls(LinkModel()));
}

void TForm1::SwitchControlsOnDisconnect() {
    SwitchCommonControls(*this, false);
    UpdateHamlibButton();
    ApplyModelControls(DisconnectControls(LinkModel()));
}

void TForm1::ApplyModelControls(const TModelControls &controls) {
    ApplyBar(VolBar, controls.VolBar);
    ApplyBar(SpeakBar, controls.SpeakBar);
    ApplyList(cbatt, controls.cbatt, Settings.AttenuationIndex, AttListFilled);
    ApplyList(cbfilter, controls.cbfilter, Settings.FilterIndex, FilterListFilled);
    for (const TOtherState &other : controls.Others) ApplySwitches(OtherControl(other.Control), other.State);
}

QWidget *TForm1::OtherControl(TOtherControl control) const {
    switch (control) {
    case TOtherControl::cbrxl: return cbrxl;
    case TOtherControl::gbsm: return gbsm;
    case TOtherControl::lblsm: return lblsm;
    case TOtherControl::lbldwtlif: return lbldwtlif;
    case TOtherControl::dwtmod: return dwtmod;
    case TOtherControl::cmbant: return cmbant;
    case TOtherControl::cmbdwtatt: return cmbdwtatt;
    case TOtherControl::Edit3: return Edit3;
    case TOtherControl::Edit4: return Edit4;
    case TOtherControl::OffsetCheck: return OffsetCheck;
    case TOtherControl::OffsetText: return OffsetText;
    case TOtherControl::Label1: return Label1;
    case TOtherControl::Multiplikator: return Multiplikator;
    case TOtherControl::Chargepump: return Chargepump;
    case TOtherControl::InitButton: return InitButton;
    }
    return nullptr;
}

} // namespace drmq
