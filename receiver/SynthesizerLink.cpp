#include "receiver/SynthesizerLink.h"

#include "core/RunErrors.h"
#include "rig/LinePort.h"

namespace drmq {

namespace {
const char *const kClockTooLow = "Systemfrequency is too low!";
} // namespace

TSynthesizerLink::TSynthesizerLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts)
    : model_(model), host_(host), parts_(std::move(parts)) {}

TSynthesizerFrontEnd TSynthesizerLink::FrontEnd() const {
    return TSynthesizerFrontEnd(parts_.Lines(), host_.ControlValues().Synthesizer);
}

void TSynthesizerLink::Open() {
    host_.SwitchControlsOnConnect({});
    if (Elektor()) {
        TLinePort &lines = parts_.Lines();
        const TControlValues values = host_.ControlValues();
        lines.OpenLinePort(values.Synthesizer.PortName);
        lines.LineDTR(false);
        lines.LineRTS(false);
        lines.LineBreak(false);
        FrontEnd().LO(StrToInt(values.FrequencyText));
        return;
    }
    host_.ApplyOffsetField();
    TSynthesizerFrontEnd drt1 = FrontEnd();
    drt1.Register1();
    drt1.Register2();
}

void TSynthesizerLink::Close() {
    // The DRT1 holds nothing open.
    if (Elektor()) parts_.Lines().CloseLinePort();
}

void TSynthesizerLink::Abandon() {
    parts_.Lines().CloseLinePort();
}

void TSynthesizerLink::Tune(const TFrequencyCommand &command) {
    TSynthesizerFrontEnd frontEnd = FrontEnd();
    if (Elektor()) {
        frontEnd.LO(static_cast<double>(command.Khz));
        return;
    }
    frontEnd.Register1();
    frontEnd.Register2();
    if (!frontEnd.FTWout(static_cast<double>(command.Hz))) host_.ShowMessage(kClockTooLow);
}

} // namespace drmq
