// The key-string language of SendKeys ("+^%", "( )", "~", "{NAME n}", "{c}")
// turned into a plan of key steps. Pure, any thread.
#pragma once

#include <QString>

#include <vector>

namespace drmq {

struct TKeyStep {
    enum TKind {
        Press,        // a named key (keysym), pressed and released
        Char,         // the key typing ch on the current layout
        ModifierDown, // Shift, Ctrl or Alt put down by "+", "^", "%"
        ModifierUp,
        NumLock,      // toggles Num Lock; no key event
        BadName,      // "Invalid Key Name": the element is skipped
        NoClose,      // "{" without "}": nothing after it is sent
    };
    TKind kind;
    unsigned long keysym = 0; // Press, ModifierDown, ModifierUp
    char32_t ch = 0;          // Char

    bool operator==(const TKeyStep &) const = default;
};

// Every key of a string in sending order; modifiers put down are always
// released again, also when the string breaks off at a "{" without "}".
std::vector<TKeyStep> ParseKeyString(const QString &keys);

} // namespace drmq
