// What the status bar says when the decoder cannot be reached.
#include "app/Form1.h"

#include "app/RadioGroup.h"

namespace drmq {

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

void TForm1::ReportDreamFolderUnknown() {
    if (dreamFolderTold_) return;
    dreamFolderTold_ = true;
    decoderNotice_ = "Dream's folder cannot be read: its log is not checked";
    StatusBar1->showMessage(decoderNotice_, kNoticeMs);
}

} // namespace drmq
