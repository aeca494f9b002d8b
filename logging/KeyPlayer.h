// Plays a plan of key steps into an injected keyboard: characters with the
// modifiers the layout needs, errors as the "SendKeys" texts. UI thread.
#pragma once

#include "logging/KeyString.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace drmq {

// The key that types a character, with the modifier keys (keysyms) the
// current layout needs held for it.
struct TCharKey {
    unsigned long keysym = 0;
    std::vector<unsigned long> modifiers;
};

class TKeyboard {
public:
    virtual ~TKeyboard() = default;
    // Nothing when no key of the current layout types c.
    virtual std::optional<TCharKey> KeyForChar(char32_t c) = 0;
    virtual void SendKey(unsigned long keysym, bool down) = 0;
    virtual void ToggleNumLock() = 0;
    // Waits until the events sent so far have been delivered.
    virtual void Sync() = 0;
};

struct TKeyPlayback {
    TKeyboard &keyboard;
    // Shows one of the error texts in the "SendKeys" message box.
    std::function<void(const QString &text)> message;
    // Takes the program's own pending events and dispatches them (wait flag).
    std::function<void()> dispatchPending;
    bool wait = false;
};

// Sends every step in order; false when the plan breaks off at "No Close".
bool PlayKeySteps(const std::vector<TKeyStep> &steps, const TKeyPlayback &playback);

} // namespace drmq
