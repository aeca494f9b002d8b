// The synthesizer front ends' own controls: the DRT1 registers and offset,
// and the Elektor fields that retune it.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "tuning/SynthesizerFrontEnd.h"

namespace drmq {

namespace {
std::string FieldText(const QLineEdit *field) {
    return ToCp1252(field->text());
}

// A new IF or clock retunes a connected receiver that tunes from them.
void RetuneFromFields(TForm1 &form) {
    if (form.checkaor->isChecked() && form.Link && form.Link->Capabilities().TunesFromFields)
        form.SetFreq(form.Edit1->text());
}
} // namespace

void TForm1::CFR1ButtonClick() {
    TSynthesizerFrontEnd(Lines(), SynthesizerFields()).Register1();
}

void TForm1::CFR2ButtonClick() {
    TSynthesizerFrontEnd(Lines(), SynthesizerFields()).Register2();
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
    RetuneFromFields(*this);
}

void TForm1::Edit4Change() {
    int value;
    if (!TryStrToInt(FieldText(Edit4), value))
        throw ERunError("\"" + Edit4->text().toStdString() + "\" is not an integer value");
    RetuneFromFields(*this);
}

} // namespace drmq
