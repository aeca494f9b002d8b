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

void TForm1::ReportDecoderOutcome(TDecoderOutcome outcome) {
    if (outcome == TDecoderOutcome::NothingToSend) return;
    if (outcome == TDecoderOutcome::Told) {
        if (!decoderNotice_.isEmpty() && StatusBar1->currentMessage() == decoderNotice_) StatusBar1->clearMessage();
        return;
    }
    // The log goes on without the decoder: a box would stop the listener for
    // nothing that the program can mend.
    decoderNotice_ = DecoderWindowMissingNotice(DesktopSession(), DecoderWindowTitle(rbswr->ItemIndex()));
    StatusBar1->showMessage(decoderNotice_, kNoticeMs);
}

} // namespace drmq
