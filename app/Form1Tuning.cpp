// Receiver controls (attenuator, filter, levels, DWT), tuning controls and presets.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "rig/ComPort.h"
#include "rig/ReceiverModel.h"
#include "tuning/ControlCommands.h"
#include "tuning/PresetsDialog.h"

namespace drmq {

void TForm1::SendSerialWrites(const std::vector<std::string> &writes) {
    for (const std::string &bytes : writes) ComPort1->SendBytes(bytes);
}

// ---- Attenuator, filter, levels -------------------------------------------

void TForm1::cbattChange() {
    if (!checkaor->isChecked()) return;
    if (cbrx->currentIndex() == rmHamlib) return HamlibAttenuatorChange();
    SetAtt(QString::number(cbatt->currentIndex()));
}

void TForm1::SetAtt(const QString &value) {
    SendSerialWrites(AttenuatorCommand(cbrx->currentIndex(), ToCp1252(value), Settings.ICOMRigAddress));
}

void TForm1::cbfilterChange() {
    if (!checkaor->isChecked()) return;
    if (cbrx->currentIndex() == rmHamlib) return HamlibFilterChange();
    SendSerialWrites(FilterCommand(cbrx->currentIndex(), cbfilter->currentIndex()));
}

void TForm1::VolBarChange() {
    if (!checkaor->isChecked()) return;
    if (cbrx->currentIndex() == rmHamlib) return HamlibVolumeChange();
    SendSerialWrites(AuxLevelCommand(cbrx->currentIndex(), VolBar->value()));
}

void TForm1::SpeakBarChange() {
    if (!checkaor->isChecked()) return;
    SendSerialWrites(SpeakerLevelCommand(cbrx->currentIndex(), SpeakBar->value()));
}

// ---- DWT front end ------------------------------------------------------------

bool TForm1::DwtConnected() const {
    const int model = cbrx->currentIndex();
    return checkaor->isChecked() && (model == rmDWT || model == rmDWTCT) && LibraryHandle.Loaded();
}

void TForm1::dwtmodClick() {
    const std::optional<int> mode = DwtModeArgument(dwtmod->ItemIndex());
    if (mode && DwtConnected()) LibraryHandle.FrontendSetMode(*mode);
}

void TForm1::cmbantChange() {
    const std::optional<int> antenna = DwtSwitchArgument(cmbant->currentIndex());
    if (antenna && DwtConnected()) LibraryHandle.FrontendSetAntennaMode(*antenna);
}

void TForm1::cmbdwtattChange() {
    const std::optional<int> attenuator = DwtSwitchArgument(cmbdwtatt->currentIndex());
    if (attenuator && DwtConnected()) LibraryHandle.FrontendSetRfAttenuator(*attenuator);
}

// ---- Step buttons, wheel, direct entry, bands ---------------------------------

void TForm1::StepClick(TStepDirection direction) {
    TuneTarget = StepTarget(ToCp1252(Edit1->text()), cbstep->currentIndex(), direction, TuneTarget);
    if (!checkaor->isChecked()) return;
    TuneTarget = LimitToEdge(TuneTarget, direction);
    SetFreq(QString::number(TuneTarget));
}

void TForm1::Button1Click() {
    StepClick(TStepDirection::Down);
}

void TForm1::Button2Click() {
    StepClick(TStepDirection::Up);
}

void TForm1::FormMouseWheel(int angleDelta) {
    // No edge limit here: a step beyond the range is ignored by SetFreq.
    for (const TStepDirection direction : Wheel.Notches(angleDelta, WheelScrollLines)) {
        TuneTarget = StepTarget(ToCp1252(Edit1->text()), cbstep->currentIndex(), direction, TuneTarget);
        if (checkaor->isChecked()) SetFreq(QString::number(TuneTarget));
    }
}

void TForm1::Edit1KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
    int khz = 0;
    if (!TryStrToInt(ToCp1252(Edit1->text()), khz)) {
        ShowMessage("No valid frequency");
        return;
    }
    // The text is a valid number from here on: a failure while tuning (a
    // serial write, say) is reported with its own text.
    if (checkaor->isChecked()) SetFreq(Edit1->text());
}

void TForm1::cbbandSelect() {
    if (!checkaor->isChecked()) return;
    const std::optional<TBand> band = BandAt(cbband->currentIndex());
    if (!band) return;
    // SetFreq shows the band's frequency in Edit1 when it tunes; when the user
    // keeps the old frequency at the log's prompt, the field keeps it too.
    SetFreq(band->Khz);
    cbstep->setCurrentIndex(band->StepIndexAfter);
}

// ---- Presets ------------------------------------------------------------------

void TForm1::MemClick(int index) {
    SetFreq(Mem.at(static_cast<size_t>(index))->text());
}

void TForm1::GroupBox1MouseDown(Qt::MouseButton button) {
    if (button != Qt::RightButton || !Form2) return;
    Form2->exec();
}

} // namespace drmq
