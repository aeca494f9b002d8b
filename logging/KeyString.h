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

// A repeat count ("{TAB 3}") above kMaxRepeatCount is reported like an
// unknown name, and so is a braced element that would take the keys of all
// braced elements of the string beyond kMaxRepeatedKeys: a string never asks
// for more than a second or two of typing.
inline constexpr int kMaxRepeatCount = 255;
inline constexpr int kMaxRepeatedKeys = 1000;

// Every key of a string in sending order; modifiers put down are always
// released again, also when the string breaks off at a "{" without "}".
std::vector<TKeyStep> ParseKeyString(const QString &keys);

// The key string that types the text as it stands: every character with a
// meaning in the language ("+^%~(){}[]") goes in braces.
QString LiteralKeys(const QString &text);

} // namespace drmq
