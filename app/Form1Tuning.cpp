// Receiver controls (attenuator, filter, levels, DWT), tuning controls and presets.
#include "app/Form1.h"

namespace drmq {

void TForm1::cbattChange() {}

void TForm1::cbfilterChange() {}

void TForm1::VolBarChange() {}

void TForm1::SpeakBarChange() {}

void TForm1::dwtmodClick() {}

void TForm1::cmbantChange() {}

void TForm1::cmbdwtattChange() {}

void TForm1::Button1Click() {}

void TForm1::Button2Click() {}

void TForm1::FormMouseWheel(int) {}

void TForm1::Edit1KeyPress(int) {}

void TForm1::cbbandSelect() {}

void TForm1::MemClick(int) {}

void TForm1::GroupBox1MouseDown(Qt::MouseButton) {}

} // namespace drmq
