// Receiver controls (attenuator, filter, levels, DWT), tuning controls and presets.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "tuning/PresetsDialog.h"

namespace drmq {

// ---- Attenuator, filter, levels, DWT front end -----------------------------------

void TForm1::cbattChange() {
    if (!checkaor->isChecked()) return;
    SetAtt(QString::number(cbatt->currentIndex()));
}

void TForm1::SetAtt(const QString &value) {
    if (Link) Link->SetAttenuator(value.toInt());
}

void TForm1::cbfilterChange() {
    if (checkaor->isChecked() && Link) Link->SetFilter(cbfilter->currentIndex());
}

void TForm1::VolBarChange() {
    if (checkaor->isChecked() && Link) Link->SetAuxLevel(VolBar->value());
}

void TForm1::SpeakBarChange() {
    if (checkaor->isChecked() && Link) Link->SetSpeakerLevel(SpeakBar->value());
}

void TForm1::dwtmodClick() {
    if (checkaor->isChecked() && Link) Link->SetDwtMode(dwtmod->ItemIndex());
}

void TForm1::cmbantChange() {
    if (checkaor->isChecked() && Link) Link->SetAntenna(cmbant->currentIndex());
}

void TForm1::cmbdwtattChange() {
    if (checkaor->isChecked() && Link) Link->SetRfAttenuator(cmbdwtatt->currentIndex());
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
