// Key injection on X11 through the XTest extension, with the key and
// modifiers of the current keyboard layout for each character. UI thread.
#pragma once

#include "logging/KeyPlayer.h"

#include <X11/Xlib.h>

namespace drmq {

class TX11Keyboard final : public TKeyboard {
public:
    explicit TX11Keyboard(Display *display) : display_(display) {}
    // Whether the server offers XTest; without it no key can be sent.
    static bool Available(Display *display);

    std::optional<TCharKey> KeyForChar(char32_t c) override;
    void SendKey(unsigned long keysym, bool down) override;
    void ToggleNumLock() override;
    void Sync() override;

private:
    Display *display_;
};

// The keysym that stands for a character (control characters included).
unsigned long KeySymForChar(char32_t c);

} // namespace drmq
