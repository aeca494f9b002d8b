// Schedule download, space-weather bulletin and its status-bar panels.
#include "app/Form1.h"

namespace drmq {

void TForm1::DownloadSchedule() {}

void TForm1::DownloadBulletin() {}

void TForm1::ParseBulletinFile() {}

void TForm1::chkupdateClick() {}

void TForm1::StatusBar1DrawPanel(int) {}

} // namespace drmq
