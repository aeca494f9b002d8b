// Receiver connection, replies, frequency commands and the synthesizer controls.
#include "app/Form1.h"

namespace drmq {

void TForm1::checkaorClick() {}

void TForm1::ComPort1RxChar(int) {}

void TForm1::Timer2Timer() {}

void TForm1::SetFreq(const QString &) {}

void TForm1::IdleReceiver() {}

void TForm1::ReleaseLibraries() {}

void TForm1::Edit3Change() {}

void TForm1::Edit4Change() {}

void TForm1::OffsetTextChange() {}

void TForm1::OffsetCheckClick() {}

void TForm1::CFR1ButtonClick() {}

void TForm1::CFR2ButtonClick() {}

void TForm1::InitButtonClick() {}

} // namespace drmq
