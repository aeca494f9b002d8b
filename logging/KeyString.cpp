#include "logging/KeyString.h"

#include "logging/KeyNames.h"

#include <QList>

#include <X11/keysym.h>

#include <string>

namespace drmq {

namespace {
constexpr int kMaxNameLength = 20;

class TKeyStringParser {
public:
    explicit TKeyStringParser(const QString &keys) {
        for (uint c : keys.toUcs4()) text_.push_back(char32_t(c));
    }

    std::vector<TKeyStep> Parse() {
        for (pos_ = 0; pos_ < text_.size(); ++pos_) {
            const char32_t c = text_[pos_];
            switch (c) {
            case U'+': Modifier(XK_Shift_L); break;
            case U'^': Modifier(XK_Control_L); break;
            case U'%': Modifier(XK_Alt_L); break;
            case U'(': group_ = true; break;
            case U')':
                group_ = false;
                ReleaseModifiers();
                break;
            case U'~': Key({TKeyStep::Press, XK_Return}, 1); break;
            case U'{':
                if (!Braced()) {
                    steps_.push_back({TKeyStep::NoClose});
                    pos_ = text_.size();
                }
                break;
            default: Key({TKeyStep::Char, 0, c}, 1); break;
            }
        }
        ReleaseModifiers();
        return std::move(steps_);
    }

private:
    void Modifier(unsigned long keysym) {
        for (unsigned long held : held_)
            if (held == keysym) return;
        held_.push_back(keysym);
        steps_.push_back({TKeyStep::ModifierDown, keysym});
    }

    void ReleaseModifiers() {
        for (auto it = held_.rbegin(); it != held_.rend(); ++it) steps_.push_back({TKeyStep::ModifierUp, *it});
        held_.clear();
    }

    // One element, repeated; the modifiers of "+", "^", "%" last for the
    // whole element unless a group keeps them longer.
    void Key(const TKeyStep &step, int count) {
        for (int i = 0; i < count; ++i) steps_.push_back(step);
        if (!group_) ReleaseModifiers();
    }

    // "{...}" at pos_; false when it has no closing brace.
    bool Braced() {
        const std::size_t open = pos_;
        // "{}}" types a closing brace; otherwise the first "}" closes.
        std::size_t close = open + 1;
        if (close < text_.size() && text_[close] == U'}' && close + 1 < text_.size() && text_[close + 1] == U'}')
            ++close;
        else
            while (close < text_.size() && text_[close] != U'}') ++close;
        if (close >= text_.size()) return false;
        pos_ = close;
        Element(text_.substr(open + 1, close - open - 1));
        return true;
    }

    // The inside of "{...}": one character, or a name with an optional count.
    void Element(const std::u32string &inside) {
        if (inside.size() == 1) return Key({TKeyStep::Char, 0, inside[0]}, 1);
        std::u32string name = inside;
        int count = 1;
        const std::size_t space = inside.find(U' ');
        if (space != std::u32string::npos && space > 0) {
            name = inside.substr(0, space);
            bool ok = false;
            count = QString::fromStdU32String(inside.substr(space + 1)).toInt(&ok, 10);
            if (!ok || count < 0 || count > kMaxRepeatCount) return steps_.push_back({TKeyStep::BadName});
        }
        if (name.size() == 1) return Repeat({TKeyStep::Char, 0, name[0]}, count);
        const std::string upper = QString::fromStdU32String(name).toUpper().toStdString();
        const auto keysym = name.size() <= kMaxNameLength ? NamedKeySym(upper) : std::nullopt;
        if (!keysym) return steps_.push_back({TKeyStep::BadName});
        if (upper == kNumLockName) return Repeat({TKeyStep::NumLock}, count);
        Repeat({TKeyStep::Press, *keysym}, count);
    }

    // A braced element's keys, paid from what the whole string may repeat.
    void Repeat(const TKeyStep &step, int count) {
        if (count > repeatsLeft_) return steps_.push_back({TKeyStep::BadName});
        repeatsLeft_ -= count;
        Key(step, count);
    }

    std::u32string text_;
    std::size_t pos_ = 0;
    bool group_ = false;
    int repeatsLeft_ = kMaxRepeatedKeys;
    std::vector<unsigned long> held_;
    std::vector<TKeyStep> steps_;
};
} // namespace

std::vector<TKeyStep> ParseKeyString(const QString &keys) {
    return TKeyStringParser(keys).Parse();
}

QString LiteralKeys(const QString &text) {
    static const QString kSpecial = "+^%~(){}[]";
    QString keys;
    for (const QChar c : text) {
        const bool special = kSpecial.contains(c);
        if (special) keys += QChar('{');
        keys += c;
        if (special) keys += QChar('}');
    }
    return keys;
}

} // namespace drmq
