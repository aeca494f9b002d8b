// The key sequences that tell the software DRM decoder (FhG or Dream) to
// start and stop its own log, with their pauses. UI thread; the pauses block it.
#pragma once

#include <QString>

#include <functional>

namespace drmq {

// The decoder choice, as the item index of the radio group rbswr (-1: none).
enum TDecoder { dcNone = -1, dcFhG = 0, dcDream = 1 };

// The primitives a sequence uses; tests replace them with recorders.
struct TDecoderControl {
    std::function<bool(const QString &title)> activate;
    std::function<bool(const QString &keys, bool wait)> keys;
    std::function<void(int ms)> sleep;
};
// ActivateWindow, SendKeys and a plain sleep of the calling thread.
TDecoderControl DesktopDecoderControl();

// Keys go only into a window the sequence has found: when the last
// activation found nothing, they are left out (they would land in whatever
// window has the focus); the pauses and activations still run.
// DecoderStartLog does nothing at all unless the frequency is 3 to 5 digits;
// false then, so that the stop is not sent either (it would toggle the log on).
bool DecoderStartLog(int decoder, const QString &frequencyKhz, const TDecoderControl &control = DesktopDecoderControl());
void DecoderStopLog(int decoder, const TDecoderControl &control = DesktopDecoderControl());
// After Connect is ticked with Dream chosen.
void DreamConnectSequence(const TDecoderControl &control = DesktopDecoderControl());
// Brings the program's own window back to the front after a log sequence.
void ActivateProgramWindow(const TDecoderControl &control = DesktopDecoderControl());

} // namespace drmq
