// The decoder's side of the log run: what the status bar says about it,
// and reading Dream's minute log for the chart. UI thread.
#include "app/Form1.h"

#include "app/RadioGroup.h"

namespace drmq {

namespace {
constexpr int kDreamReadMs = 60000;
} // namespace

bool TForm1::DecoderReachable() {
    const TDesktopSession session = DesktopSession();
    if (session.XServer) return true;
    if (!noXServerTold_) StatusBar1->showMessage(NoXServerNotice(session), kNoticeMs);
    noXServerTold_ = true;
    return false;
}

void TForm1::ReportDecoderOutcome(TDecoderOutcome outcome, const QString &title) {
    if (outcome == TDecoderOutcome::NothingToSend) return;
    if (outcome == TDecoderOutcome::Told) {
        if (!decoderNotice_.isEmpty() && StatusBar1->currentMessage() == decoderNotice_) StatusBar1->clearMessage();
        return;
    }
    // The log goes on without the decoder: a box would stop the listener for
    // nothing that the program can mend.
    decoderNotice_ = DecoderWindowMissingNotice(DesktopSession(), title);
    StatusBar1->showMessage(decoderNotice_, kNoticeMs);
}

void TForm1::ReportDreamLog(const TDreamLogSwitch::TDone &done) {
    using TResult = TDreamLogSwitch::TResult;
    if (!done.Folder.isEmpty()) DreamFolder = done.Folder;
    switch (done.Result) {
    case TResult::Confirmed:
        return ReportDecoderOutcome(TDecoderOutcome::Told, {});
    case TResult::Unconfirmed:
        ReportDecoderOutcome(TDecoderOutcome::Told, {});
        return ReportDreamFolderUnknown();
    case TResult::DreamMissing:
        return ReportDecoderOutcome(TDecoderOutcome::WindowMissing, "Dream");
    case TResult::EvaluationMissing:
        return ReportDecoderOutcome(TDecoderOutcome::WindowMissing, "System Evaluation");
    case TResult::NotFollowed:
        decoderNotice_ = done.Wanted ? "Dream did not start its log" : "Dream did not stop its log";
        StatusBar1->showMessage(decoderNotice_, kNoticeMs);
        return;
    }
}

void TForm1::ConnectDreamReading() {
    DreamReadTimer.setInterval(kDreamReadMs);
    connect(&DreamReadTimer, &QTimer::timeout, this, [this] { ReadDreamLog(); });
    DreamLevels.Unreadable = [this] { ReportDreamFolderUnknown(); };
}

void TForm1::ReadDreamLog() {
    // Dream may have been started after the program's log.
    if (DreamFolder.isEmpty()) {
        const TFoundWindow window = TDreamLogSwitch::FindDream(DecoderControl);
        // Without Dream there is nothing to read; the log sequences say it is missing.
        if (!window.Found) return;
        DreamFolder = window.Folder;
    }
    DreamLevels.Read(DreamFolder);
}

void TForm1::ReportDreamFolderUnknown() {
    if (dreamFolderTold_) return;
    dreamFolderTold_ = true;
    decoderNotice_ = "Dream's folder cannot be read: its log is neither checked nor charted";
    StatusBar1->showMessage(decoderNotice_, kNoticeMs);
}

} // namespace drmq
