#include "logging/DecoderSequences.h"

#include "logging/DesktopAutomation.h"
#include "logging/KeyString.h"

#include <QThread>

namespace drmq {

namespace {
const char *const kFhGWindow = "DRM Software Radio 2.";
const char *const kDreamWindow = "System Evaluation";
const char *const kProgramWindow = "DRM Quodra";
// The window the connect step returns to.
const char *const kConnectReturnWindow = "DRM Trovanix";

// Whole kHz of the long, medium and short wave bands.
bool IsFrequencyText(const QString &text) {
    if (text.size() < 3 || text.size() > 5) return false;
    for (const QChar c : text)
        if (c < QChar('0') || c > QChar('9')) return false;
    return true;
}

constexpr bool kWait = true;
constexpr bool kNoWait = false;

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
    TSequence &Pause(int ms) {
        c_.sleep(ms);
        return *this;
    }
    TDecoderOutcome Outcome() const { return missed_ ? TDecoderOutcome::WindowMissing : TDecoderOutcome::Told; }

private:
    const TDecoderControl &c_;
    bool found_ = false;
    bool missed_ = false;
};
} // namespace

TDecoderControl DesktopDecoderControl() {
    return {ActivateWindow, SendKeys, [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }};
}

QString DecoderWindowTitle(int decoder) { return decoder == dcFhG ? kFhGWindow : kDreamWindow; }

TDecoderOutcome DecoderStartLog(int decoder, const QString &frequencyKhz, const TDecoderControl &control) {
    // Anything else in the frequency field is not typed anywhere.
    if (!IsFrequencyText(frequencyKhz)) return TDecoderOutcome::NothingToSend;
    // The frequency is data: none of its characters may act as key syntax.
    const QString frequencyKeys = LiteralKeys(frequencyKhz);
    TSequence s(control);
    // With no decoder chosen nothing is sent.
    if (decoder == dcFhG) {
        s.Activate(kFhGWindow).Keys("%R", kWait).Keys(frequencyKeys, kWait).Keys("%S", kWait);
    } else if (decoder == dcDream) {
        s.Activate(kDreamWindow).Pause(100).Activate(kDreamWindow).Keys("{TAB}", kWait).Pause(50);
        s.Keys(frequencyKeys, kNoWait).Pause(100).Activate(kDreamWindow).Keys("%L", kWait).Pause(50);
    } else {
        return TDecoderOutcome::NothingToSend;
    }
    return s.Outcome();
}

TDecoderOutcome DecoderStopLog(int decoder, const TDecoderControl &control) {
    TSequence s(control);
    if (decoder == dcFhG) s.Activate(kFhGWindow).Keys("%R", kWait);
    else if (decoder == dcDream) s.Activate(kDreamWindow).Pause(100).Activate(kDreamWindow).Keys("%L", kWait).Pause(50);
    else return TDecoderOutcome::NothingToSend;
    return s.Outcome();
}

TDecoderOutcome DreamConnectSequence(const TDecoderControl &control) {
    TSequence s(control);
    s.Activate(kDreamWindow).Pause(50).Keys("%L", kWait).Pause(250);
    s.Activate(kDreamWindow).Keys("%L", kWait).Pause(50).Return(kConnectReturnWindow);
    return s.Outcome();
}

void ActivateProgramWindow(const TDecoderControl &control) {
    TSequence(control).Return(kProgramWindow);
}

} // namespace drmq
