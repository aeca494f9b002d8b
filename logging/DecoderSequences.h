// The key sequences that tell the FhG decoder to start and stop its own log,
// and the primitives every decoder sequence uses. UI thread.
#pragma once

#include "logging/DesktopAutomation.h"

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
    // Looks for a window without touching it; none when left empty.
    std::function<TFoundWindow(const QString &title)> find;
};
// ActivateWindow, SendKeys and FindWindow.
TDecoderControl DesktopDecoderControl();

// The title the FhG sequences look for (a prefix).
QString FhGWindowTitle();

// Keys go only into a window the sequence has found: when the activation
// found nothing, they are left out (they would land in whatever window has
// the focus). FhGStartLog does nothing at all unless the frequency is 3 to 5
// digits. Each tells what reached the decoder.
TDecoderOutcome FhGStartLog(const QString &frequencyKhz, const TDecoderControl &control = DesktopDecoderControl());
TDecoderOutcome FhGStopLog(const TDecoderControl &control = DesktopDecoderControl());
// Brings the program's own window back to the front after a log sequence.
void ActivateProgramWindow(const TDecoderControl &control = DesktopDecoderControl());

} // namespace drmq
