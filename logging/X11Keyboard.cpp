#include "logging/X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace drmq {

bool TX11Keyboard::Available(Display *display) {
    int event = 0, error = 0, major = 0, minor = 0;
    return XTestQueryExtension(display, &event, &error, &major, &minor);
}

unsigned long KeySymForChar(char32_t c) {
    switch (c) {
    case U'\b': return XK_BackSpace;
    case U'\t': return XK_Tab;
    case U'\n':
    case U'\r': return XK_Return;
    case U'\x1b': return XK_Escape;
    default: break;
    }
    // Latin-1 characters are their own keysyms; the rest of Unicode is offset.
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff)) return c;
    return 0x01000000UL | c;
}

std::optional<TCharKey> TX11Keyboard::KeyForChar(char32_t c) {
    const unsigned long keysym = KeySymForChar(c);
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0) return std::nullopt;
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    unsigned long levelThree = XK_ISO_Level3_Shift;
    if (XKeysymToKeycode(display_, levelThree) == 0) levelThree = XK_Mode_switch;
    for (unsigned group : {unsigned(state.group), 0u}) {
        for (unsigned level = 0; level < 4; ++level) {
            if (XkbKeycodeToKeysym(display_, code, group, level) != keysym) continue;
            TCharKey key{keysym, {}};
            if (level & 2) key.modifiers.push_back(levelThree);
            if (level & 1) key.modifiers.push_back(XK_Shift_L);
            return key;
        }
    }
    return std::nullopt;
}

void TX11Keyboard::SendKey(unsigned long keysym, bool down) {
    // A key the layout lacks (F16 on many keyboards) is not sent.
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0) return;
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    XFlush(display_);
}

void TX11Keyboard::ToggleNumLock() {
    unsigned mask = XkbKeysymToModifiers(display_, XK_Num_Lock);
    if (mask == 0) mask = Mod2Mask;
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    XkbLockModifiers(display_, XkbUseCoreKbd, mask, (state.locked_mods & mask) ? 0 : mask);
    XFlush(display_);
}

void TX11Keyboard::Sync() { XSync(display_, False); }

} // namespace drmq
