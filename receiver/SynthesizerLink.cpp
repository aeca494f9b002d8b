#include "receiver/SynthesizerLink.h"

#include "core/RunErrors.h"
#include "rig/LinePort.h"

namespace drmq {

namespace {
const char *const kClockTooLow = "Systemfrequency is too low!";
} // namespace

TSynthesizerLink::TSynthesizerLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts)
    : model_(model), host_(host), parts_(std::move(parts)), calls_(parts_.PostToUi) {}

TSynthesizerFrontEnd TSynthesizerLink::FrontEnd() const {
    return TSynthesizerFrontEnd(parts_.Lines(), host_.ControlValues().Synthesizer);
}

void TSynthesizerLink::Open() {
    host_.SwitchControlsOnConnect({});
    if (Elektor()) {
        const TControlValues values = host_.ControlValues();
        const std::int64_t khz = StrToInt(values.FrequencyText);
        calls_.Run([&lines = parts_.Lines(), values, khz] {
            lines.OpenLinePort(values.Synthesizer.PortName);
            lines.LineDTR(false);
            lines.LineRTS(false);
            lines.LineBreak(false);
            TSynthesizerFrontEnd(lines, values.Synthesizer).LO(static_cast<double>(khz));
        });
        return;
    }
    host_.ApplyOffsetField();
    calls_.Run([drt1 = FrontEnd()]() mutable {
        drt1.Register1();
        drt1.Register2();
    });
}

void TSynthesizerLink::Close() {
    // The DRT1 holds nothing open.
    if (Elektor()) calls_.Run([&lines = parts_.Lines()] { lines.CloseLinePort(); });
}

void TSynthesizerLink::Abandon() {
    calls_.Run([&lines = parts_.Lines()] { lines.CloseLinePort(); });
}


void TSynthesizerLink::Tune(const TFrequencyCommand &command) {
    if (Elektor()) {
        calls_.Run([frontEnd = FrontEnd(), khz = static_cast<double>(command.Khz)]() mutable { frontEnd.LO(khz); });
        return;
    }
    calls_.Run([this, frontEnd = FrontEnd(), hz = static_cast<double>(command.Hz)]() mutable {
        frontEnd.Register1();
        frontEnd.Register2();
        if (!frontEnd.FTWout(hz)) calls_.ToUi([this] { host_.ShowMessage(kClockTooLow); });
    });
}

} // namespace drmq
