// Schedule handlers of the main window: loading, evaluation, grid, sorting.
#include "app/Form1.h"

namespace drmq {

void TForm1::SetupGrid() {}

void TForm1::LoadSchedule() {}

void TForm1::DRMSchedule() {}

bool TForm1::SeekRecord(const std::vector<int> &, const std::vector<QString> &) { return false; }

void TForm1::StringGrid1Click() {}

void TForm1::StringGrid1MouseDown(Qt::MouseButton) {}

void TForm1::chkshowallClick() {}

void TForm1::cblowClick() {}

void TForm1::chknextClick() {}

void TForm1::rbClick(int) {}

} // namespace drmq
