// The synthesizer front ends: Elektor tuning, DRT1 registers and tuning
// word, and the fields that feed them.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "rig/ComPort.h"
#include "rig/ReceiverModel.h"
#include "tuning/Synthesizer.h"

namespace drmq {

namespace {
const char *const kClockTooLow = "Systemfrequency is too low!";

std::string FieldText(const QLineEdit *field) {
    return ToCp1252(field->text());
}

// A new IF or clock retunes a connected Elektor.
void RetuneElektor(TForm1 &form) {
    if (form.checkaor->isChecked() && form.cbrx->currentIndex() == rmElektor) form.SetFreq(form.Edit1->text());
}
} // namespace

void TForm1::LO(double khz) {
    const double ifKhz = StrToFloat(FieldText(Edit3));
    const std::int64_t xtalKhz = StrToInt(FieldText(Edit4));
    const auto words = ElektorWords(khz, ifKhz, xtalKhz);
    const int delay = Settings.ElektorDelay;
    TSynthesizerLines lines(Lines(), [delay] { BitDelay(delay); });
    for (std::uint16_t word : words) lines.WordOut(word);
}

void TForm1::CMDout(const std::string &bytes) {
    const int delay = Settings.DRT1Delay;
    TSynthesizerLines lines(Lines(), [delay] { BitDelay(delay); });
    lines.CMDout(ComPort1->Port(), bytes);
}

void TForm1::FTWout(double hz) {
    const auto command = Drt1TuningCommand(hz, FirstIfOffset, Multiplikator->currentIndex());
    if (!command) {
        ShowMessage(kClockTooLow);
        return;
    }
    CMDout(*command);
}

void TForm1::CFR1ButtonClick() {
    CMDout(Drt1ControlRegister1());
}

void TForm1::CFR2ButtonClick() {
    CMDout(Drt1ControlRegister2(Multiplikator->currentIndex(), Chargepump->currentIndex()));
}

void TForm1::InitButtonClick() {
    CFR1ButtonClick();
    CFR2ButtonClick();
}

void TForm1::OffsetCheckClick() {
    if (!OffsetCheck->isChecked()) {
        FirstIfOffset = 0;
        return;
    }
    const int khz = StrToInt(FieldText(OffsetText));
    FirstIfOffset = khz >= 1 ? khz * 1000 : 0;
}

void TForm1::OffsetTextChange() {
    FirstIfOffset = OffsetCheck->isChecked() ? StrToInt(FieldText(OffsetText)) * 1000 : 0;
}

void TForm1::Edit3Change() {
    double value;
    if (!TryStrToFloat(FieldText(Edit3), value))
        throw ERunError("\"" + Edit3->text().toStdString() + "\" is not a floating point value");
    RetuneElektor(*this);
}

void TForm1::Edit4Change() {
    int value;
    if (!TryStrToInt(FieldText(Edit4), value))
        throw ERunError("\"" + Edit4->text().toStdString() + "\" is not an integer value");
    RetuneElektor(*this);
}

} // namespace drmq
