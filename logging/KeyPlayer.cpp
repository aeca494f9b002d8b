#include "logging/KeyPlayer.h"

#include <algorithm>

namespace drmq {

namespace {
const char *const kNoClose = "No Close";
const char *const kInvalidKeyName = "Invalid Key Name";
const char *const kInvalidCharKey = "Invalid KeyName";

class TPlayer {
public:
    explicit TPlayer(const TKeyPlayback &playback) : p_(playback) {}

    bool Play(const std::vector<TKeyStep> &steps) {
        bool complete = true;
        for (const auto &step : steps) {
            switch (step.kind) {
            case TKeyStep::Press:
                Event(step.keysym, true);
                Event(step.keysym, false);
                break;
            case TKeyStep::Char: TypeChar(step.ch); break;
            case TKeyStep::ModifierDown:
                held_.push_back(step.keysym);
                Event(step.keysym, true);
                break;
            case TKeyStep::ModifierUp:
                std::erase(held_, step.keysym);
                Event(step.keysym, false);
                break;
            case TKeyStep::NumLock: p_.keyboard.ToggleNumLock(); break;
            case TKeyStep::BadName: p_.message(kInvalidKeyName); break;
            case TKeyStep::NoClose:
                p_.message(kNoClose);
                complete = false;
                break;
            }
        }
        p_.keyboard.Sync();
        return complete;
    }

private:
    void Event(unsigned long keysym, bool down) {
        p_.keyboard.SendKey(keysym, down);
        if (!p_.wait) return;
        p_.keyboard.Sync();
        if (p_.dispatchPending) p_.dispatchPending();
    }

    // The modifiers the layout needs go down around the key; one that is
    // already held from "+", "^" or "%" is not pressed a second time.
    void TypeChar(char32_t c) {
        const auto key = p_.keyboard.KeyForChar(c);
        if (!key) return p_.message(kInvalidCharKey);
        std::vector<unsigned long> added;
        for (unsigned long modifier : key->modifiers)
            if (std::find(held_.begin(), held_.end(), modifier) == held_.end()) added.push_back(modifier);
        for (unsigned long modifier : added) Event(modifier, true);
        Event(key->keysym, true);
        Event(key->keysym, false);
        for (auto it = added.rbegin(); it != added.rend(); ++it) Event(*it, false);
    }

    const TKeyPlayback &p_;
    std::vector<unsigned long> held_;
};
} // namespace

bool PlayKeySteps(const std::vector<TKeyStep> &steps, const TKeyPlayback &playback) {
    return TPlayer(playback).Play(steps);
}

} // namespace drmq
