// The key sequences that tell the software DRM decoder (FhG or Dream) to
// start and stop its own log, with their pauses. UI thread; the pauses block it.
#pragma once

#include <QString>

#include <functional>

namespace drmq {

// The decoder choice, as the item index of the radio group rbswr (-1: none).
enum TDecoder { dcNone = -1, dcFhG = 0, dcDream = 1 };

// What a sequence got to the decoder.
enum class TDecoderOutcome {
    Told,          // every activation found the decoder's window; the keys went there
    WindowMissing, // an activation found no decoder window; its keys were left out
    NothingToSend, // no frequency to type: nothing was done
};

// The primitives a sequence uses; tests replace them with recorders.
struct TDecoderControl {
    std::function<bool(const QString &title)> activate;
    std::function<bool(const QString &keys, bool wait)> keys;
    std::function<void(int ms)> sleep;
};
// ActivateWindow, SendKeys and a plain sleep of the calling thread.
TDecoderControl DesktopDecoderControl();

// The title the sequences look for: a prefix for FhG, exact for Dream.
QString DecoderWindowTitle(int decoder);

// Keys go only into a window the sequence has found: when the last
// activation found nothing, they are left out (they would land in whatever
// window has the focus); the pauses and activations still run.
// DecoderStartLog does nothing at all unless the frequency is 3 to 5 digits.
// Each tells what reached the decoder.
TDecoderOutcome DecoderStartLog(int decoder, const QString &frequencyKhz, const TDecoderControl &control = DesktopDecoderControl());
TDecoderOutcome DecoderStopLog(int decoder, const TDecoderControl &control = DesktopDecoderControl());
// After Connect is ticked with Dream chosen.
TDecoderOutcome DreamConnectSequence(const TDecoderControl &control = DesktopDecoderControl());
// Brings the program's own window back to the front after a log sequence.
void ActivateProgramWindow(const TDecoderControl &control = DesktopDecoderControl());

} // namespace drmq
