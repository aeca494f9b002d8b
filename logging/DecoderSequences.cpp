#include "logging/DecoderSequences.h"

#include "logging/KeyString.h"

namespace drmq {

namespace {
const char *const kFhGWindow = "DRM Software Radio 2.";
const char *const kProgramWindow = "DRM Quodra";

// Whole kHz of the long, medium and short wave bands.
bool IsFrequencyText(const QString &text) {
    if (text.size() < 3 || text.size() > 5) return false;
    for (const QChar c : text)
        if (c < QChar('0') || c > QChar('9')) return false;
    return true;
}

constexpr bool kWait = true;

// Runs the steps of one sequence, remembering whether the decoder's window
// was found by the last activation and by every one.
class TSequence {
public:
    explicit TSequence(const TDecoderControl &control) : c_(control) {}
    TSequence &Activate(const char *title) {
        found_ = c_.activate(title);
        missed_ = missed_ || !found_;
        return *this;
    }
    // Brings another window to the front; the decoder's was left behind.
    TSequence &Return(const char *title) {
        c_.activate(title);
        return *this;
    }
    TSequence &Keys(const QString &keys, bool wait) {
        if (found_) c_.keys(keys, wait);
        return *this;
    }
    TDecoderOutcome Outcome() const { return missed_ ? TDecoderOutcome::WindowMissing : TDecoderOutcome::Told; }

private:
    const TDecoderControl &c_;
    bool found_ = false;
    bool missed_ = false;
};
} // namespace

TDecoderControl DesktopDecoderControl() { return {ActivateWindow, SendKeys, FindWindow}; }

QString FhGWindowTitle() { return kFhGWindow; }

TDecoderOutcome FhGStartLog(const QString &frequencyKhz, const TDecoderControl &control) {
    // Anything else in the frequency field is not typed anywhere.
    if (!IsFrequencyText(frequencyKhz)) return TDecoderOutcome::NothingToSend;
    // The frequency is data: none of its characters may act as key syntax.
    TSequence s(control);
    s.Activate(kFhGWindow).Keys("%R", kWait).Keys(LiteralKeys(frequencyKhz), kWait).Keys("%S", kWait);
    return s.Outcome();
}

TDecoderOutcome FhGStopLog(const TDecoderControl &control) {
    TSequence s(control);
    s.Activate(kFhGWindow).Keys("%R", kWait);
    return s.Outcome();
}

void ActivateProgramWindow(const TDecoderControl &control) {
    TSequence(control).Return(kProgramWindow);
}

} // namespace drmq
