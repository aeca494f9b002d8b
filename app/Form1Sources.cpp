// The schedule lists: their update on the download thread, its outcome in
// panel 0 and the grid, and the "Schedule sources" dialog.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "schedule/ScheduleGridModel.h"
#include "schedule/ScheduleSourcesDialog.h"
#include "schedule/SourcesUpdate.h"

#include <QDateTime>
#include <QFileInfo>

#include <memory>

namespace drmq {

namespace {
size_t IndexOf(TScheduleSource source) { return static_cast<size_t>(source); }

bool SameSources(const ScheduleTable &a, const ScheduleTable &b) {
    if (a.EntryCount() != b.EntryCount()) return false;
    for (size_t i = 0; i < a.Entries.size(); ++i)
        if (a.Entries[i].Sources != b.Entries[i].Sources) return false;
    return true;
}

QString UtcText(const QDateTime &time) { return time.toUTC().toString("yyyy-MM-dd hh:mm") + " UTC"; }
} // namespace

TBackgroundDownload::TJob TForm1::ScheduleSourcesJob() {
    TSourcesRequest request;
    request.Enabled = ScheduleSources;
    request.Folder = options_.ProgramFolder;
    request.UtcNow = UtcNow();
    for (TScheduleSource source : kScheduleSources)
        request.Urls[IndexOf(source)] = SourceUrl(source, SourceSettingUrls[IndexOf(source)], request.UtcNow);
    TBackgroundDownload::TJob job;
    job.Work = [this, request](const THttpOptions &options) mutable -> TBackgroundDownload::TDone {
        request.Cancel = options.Cancel;
        THttpOptions bounded = options;
        bounded.MaxBodyBytes = std::min(options.MaxBodyBytes, kMaxSourceBytes);
        auto result = std::make_shared<TSourcesResult>(
            UpdateScheduleSources(request, [&](const std::string &url) { return HttpGet(url, bounded); }));
        return [this, result] { ScheduleSourcesUpdated(*result); };
    };
    return job;
}

void TForm1::ScheduleSourcesUpdated(const TSourcesResult &result) {
    const QString now = UtcText(QDateTime::currentDateTimeUtc());
    for (TScheduleSource source : kScheduleSources) {
        const TSourceReport &report = result.Sources[IndexOf(source)];
        if (report.Used && !report.Fetched && !report.Failure.empty())
            SourceFailures[IndexOf(source)] = now + ": " + QString::fromStdString(report.Failure);
    }
    SetPanelText(0, QString::fromStdString(SourcesPanelText(result)));
    if (result.WriteError) {
        // A schedule that could not be written is no update; the error box tells why.
        Guard(TErrorSource::Action, [&] { std::rethrow_exception(result.WriteError); });
    } else if (result.Outcome == TUpdateOutcome::Replaced ||
               (result.Outcome == TUpdateOutcome::Unchanged && !SameSources(result.Table, ScheduleGrid().Table()))) {
        Guard(TErrorSource::Action, [&] { ReloadSchedule(result.Table); });
    }
    FillScheduleSources();
}

void TForm1::UpdateScheduleNow() {
    if (Downloads.Start({ScheduleSourcesJob()})) SetPanelText(0, "Update: …");
}

void TForm1::ShowScheduleSources() {
    if (!SourcesDialog) {
        SourcesDialog = new TScheduleSourcesDialog(this);
        SourcesDialog->SourceChanged = [this](int row, bool enabled, const QString &url) {
            const std::uint8_t bit = SourceBit(kScheduleSources[static_cast<size_t>(row)]);
            ScheduleSources = enabled ? ScheduleSources | bit : ScheduleSources & ~bit;
            SourceSettingUrls[static_cast<size_t>(row)] = ToCp1252(url);
            if (row == 0) ShowUpdateHint();
        };
        SourcesDialog->UpdateNow = [this] { UpdateScheduleNow(); };
    }
    FillScheduleSources();
    SourcesDialog->show();
    SourcesDialog->raise();
    SourcesDialog->activateWindow();
}

void TForm1::FillScheduleSources() {
    if (!SourcesDialog) return;
    std::array<TSourceRow, TScheduleSourcesDialog::kRows> rows;
    for (TScheduleSource source : kScheduleSources) {
        const size_t i = IndexOf(source);
        int entries = 0;
        for (const ScheduleEntry &entry : ScheduleGrid().Table().Entries)
            if (entry.Sources & SourceBit(source)) ++entries;
        // The kept copy's time is the time of the last good download.
        const QFileInfo kept(QString::fromStdString(ProgramFile(KeptCopyName(source))));
        TSourceRow &row = rows[i];
        row.Name = QString::fromUtf8(SourceName(source).data(), static_cast<qsizetype>(SourceName(source).size()));
        row.Enabled = ScheduleSources & SourceBit(source);
        row.Url = FromCp1252(SourceSettingUrls[i]);
        row.LastSuccess = kept.exists() ? UtcText(kept.lastModified()) : "never";
        row.Entries = QString::number(entries);
        row.LastFailure = SourceFailures[i];
    }
    SourcesDialog->ShowRows(rows);
}

} // namespace drmq
