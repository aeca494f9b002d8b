// Schedule download, space-weather bulletin and its status-bar panels.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "schedule/DownloadText.h"
#include "schedule/HttpGet.h"
#include "schedule/HttpUrl.h"

namespace drmq {

void TForm1::StartDownloads() {
    const bool started = Downloads.Start({
        ScheduleSourcesJob(),
        {BulletinUrl(), [this](const std::string &text) { BulletinDownloaded(text); }},
    });
    if (started) SetPanelText(0, "Update: …");
}

void TForm1::BulletinDownloaded(const std::string &text) {
    Guard(TErrorSource::Action, [&] { SaveBulletinDownload(text, ProgramFile(kBulletinFile)); });
    ParseBulletinFile();
}

void TForm1::ParseBulletinFile() {
    // A missing or foreign bulletin shows nothing new and never stops the
    // start: the panels keep what they show.
    std::string text;
    if (!TryReadFileBytes(ProgramFile(kBulletinFile), text)) return;
    const auto values = ParseBulletin(text);
    if (!values) return;
    RateBulletin(*values, BulletinLevels);
    SetPanelText(5, "SF:" + FromCp1252(values->SolarFlux));
    SetPanelText(6, "A:" + FromCp1252(values->AIndex));
    SetPanelText(7, "K:" + FromCp1252(values->KIndex));
    SetPanelText(8, FromCp1252(values->KIndexTime));
}

void TForm1::chkupdateClick() {
    // Re-checking refreshes the bulletin only; the schedule is read once per start.
    // A download under way is not started twice.
    if (!chkupdate->isChecked() || Downloads.Running()) return;
    Downloads.Start({{BulletinUrl(), [this](const std::string &text) { BulletinDownloaded(text); }}});
}

void TForm1::StatusBar1DrawPanel(int panel) {
    int level = 0;
    switch (panel) {
    case 5: level = BulletinLevels.SolarFluxLevel; break;
    case 6: level = BulletinLevels.AIndexLevel; break;
    case 7: level = BulletinLevels.KIndexLevel; break;
    default: return;
    }
    QLabel *label = Panel(panel);
    if (level < 1 || level > static_cast<int>(LevelColours.size())) {
        // No rating yet: the ordinary background of the status bar.
        label->setPalette(QPalette());
        return;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, ToQColor(LevelColours[static_cast<size_t>(level - 1)]));
    // The rating colours are all light: dark text stays readable on them
    // whatever the desktop theme.
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

void TForm1::ShowUpdateHint() {
    chkupdate->setToolTip("Download schedule update during start from " + FromCp1252(HostOfUrl(ScheduleUrl())));
}

} // namespace drmq
