// The key-string language: what each element of a string sends, in order,
// and the three error messages, played into a recorded US keyboard.
#include "logging/KeyPlayer.h"
#include "logging/KeyString.h"

#include <QList>

#include <gtest/gtest.h>

// After gtest: Xlib's None macro clashes with it.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

namespace drmq {
namespace {

// A US layout: capitals and the shifted symbols of the number row need Shift;
// characters outside ASCII have no key.
class TRecordedUsKeyboard final : public TKeyboard {
public:
    std::optional<TCharKey> KeyForChar(char32_t c) override {
        if (c > 0x7e) return std::nullopt;
        const std::u32string shifted = U"ABCDEFGHIJKLMNOPQRSTUVWXYZ!@#$%^&*()_+{}|:\"<>?~";
        TCharKey key{c == U'\t' ? XK_Tab : static_cast<unsigned long>(c), {}};
        if (shifted.find(c) != std::u32string::npos) key.modifiers.push_back(XK_Shift_L);
        return key;
    }
    void SendKey(unsigned long keysym, bool down) override {
        events.push_back(std::string(XKeysymToString(keysym)) + (down ? " down" : " up"));
    }
    void ToggleNumLock() override { events.push_back("NumLock toggled"); }
    void Sync() override {}

    std::vector<std::string> events;
};

struct Played {
    bool result;
    std::vector<std::string> events;
    std::vector<std::string> messages;
    int dispatches;
};

Played Play(const QString &keys, bool wait = false) {
    TRecordedUsKeyboard keyboard;
    Played out{false, {}, {}, 0};
    TKeyPlayback playback{keyboard, [&](const QString &text) {
                              out.messages.push_back(text.toStdString());
                              keyboard.events.push_back("message " + text.toStdString());
                          },
                          [&] { ++out.dispatches; }, wait};
    out.result = PlayKeySteps(ParseKeyString(keys), playback);
    out.events = keyboard.events;
    return out;
}

using Events = std::vector<std::string>;

struct Case {
    const char *keys;
    Events events;
};

// Every element of the language with the exact events it sends.
TEST(KeyStringTest, EachElementSendsItsKeys) {
    const std::vector<Case> cases = {
        {"a", {"a down", "a up"}},
        {"R", {"Shift_L down", "R down", "R up", "Shift_L up"}},
        {"%R", {"Alt_L down", "Shift_L down", "R down", "R up", "Shift_L up", "Alt_L up"}},
        {"%S", {"Alt_L down", "Shift_L down", "S down", "S up", "Shift_L up", "Alt_L up"}},
        {"^c", {"Control_L down", "c down", "c up", "Control_L up"}},
        {"+a", {"Shift_L down", "a down", "a up", "Shift_L up"}},
        // Shift already held from "+" is not pressed a second time.
        {"+R", {"Shift_L down", "R down", "R up", "Shift_L up"}},
        {"^%x", {"Control_L down", "Alt_L down", "x down", "x up", "Alt_L up", "Control_L up"}},
        // The modifier lasts for the next key only.
        {"+ab", {"Shift_L down", "a down", "a up", "Shift_L up", "b down", "b up"}},
        // A group keeps it down for every key until ")".
        {"+(ab)c", {"Shift_L down", "a down", "a up", "b down", "b up", "Shift_L up", "c down", "c up"}},
        {"~", {"Return down", "Return up"}},
        {"{TAB}", {"Tab down", "Tab up"}},
        {"{tab}", {"Tab down", "Tab up"}},
        {"{Tab 3}", {"Tab down", "Tab up", "Tab down", "Tab up", "Tab down", "Tab up"}},
        {"{ENTER}", {"Return down", "Return up"}},
        {"{BS}{BKSP}{BACKSPACE}", {"BackSpace down", "BackSpace up", "BackSpace down", "BackSpace up",
                                   "BackSpace down", "BackSpace up"}},
        {"{PGDN}{PGUP}{PRTSC}", {"Next down", "Next up", "Prior down", "Prior up", "Print down", "Print up"}},
        {"{F1}{F16}", {"F1 down", "F1 up", "F16 down", "F16 up"}},
        {"{+}", {"Shift_L down", "plus down", "plus up", "Shift_L up"}},
        {"{%}{^}{~}{(}{)}", {"Shift_L down", "percent down", "percent up", "Shift_L up",
                             "Shift_L down", "asciicircum down", "asciicircum up", "Shift_L up",
                             "Shift_L down", "asciitilde down", "asciitilde up", "Shift_L up",
                             "Shift_L down", "parenleft down", "parenleft up", "Shift_L up",
                             "Shift_L down", "parenright down", "parenright up", "Shift_L up"}},
        {"{{}{}}", {"Shift_L down", "braceleft down", "braceleft up", "Shift_L up",
                    "Shift_L down", "braceright down", "braceright up", "Shift_L up"}},
        {"{a 2}", {"a down", "a up", "a down", "a up"}},
        {"{NUMLOCK}", {"NumLock toggled"}},
        {"%{F4}", {"Alt_L down", "F4 down", "F4 up", "Alt_L up"}},
    };
    for (const auto &c : cases) {
        const Played played = Play(c.keys);
        EXPECT_EQ(played.events, c.events) << c.keys;
        EXPECT_TRUE(played.result) << c.keys;
        EXPECT_TRUE(played.messages.empty()) << c.keys;
    }
}

// The 41 names of the table, each found in any letter case.
TEST(KeyStringTest, EveryNamedKeyIsKnown) {
    const std::vector<std::string> names = {
        "BACKSPACE", "BKSP", "BS",  "BREAK", "CAPSLOCK", "CLEAR", "DEL", "DELETE", "DOWN",  "UP",     "LEFT",
        "RIGHT",     "END",  "HOME", "ENTER", "ESC",     "ESCAPE", "F1", "F2",     "F3",    "F4",     "F5",
        "F6",        "F7",   "F8",  "F9",    "F10",      "F11",   "F12", "F13",    "F14",   "F15",    "F16",
        "HELP",      "INS",  "NUMLOCK", "PGDN", "PGUP",  "PRTSC", "SCROLLLOCK", "TAB"};
    ASSERT_EQ(names.size(), 41u);
    for (const auto &name : names) {
        const Played played = Play(QString::fromStdString("{" + name + "}").toLower());
        EXPECT_TRUE(played.messages.empty()) << name;
        EXPECT_FALSE(played.events.empty()) << name;
    }
}

TEST(KeyStringTest, UnclosedBraceSendsNothingFromTheBraceOn) {
    const Played played = Play("12{TAB");
    EXPECT_FALSE(played.result);
    EXPECT_EQ(played.events, (Events{"1 down", "1 up", "2 down", "2 up", "message No Close"}));
}

TEST(KeyStringTest, UnclosedBraceStillReleasesHeldModifiers) {
    const Played played = Play("+(a{b");
    EXPECT_FALSE(played.result);
    EXPECT_EQ(played.events, (Events{"Shift_L down", "a down", "a up", "message No Close", "Shift_L up"}));
}

TEST(KeyStringTest, UnknownNameIsReportedAndSkipped) {
    // Counts beyond what may be typed are errors of the same kind.
    for (const char *keys : {"a{FOO}b", "a{TABX 2}b", "a{TAB x}b", "a{}b", "a{ABCDEFGHIJKLMNOPQRSTU}b",
                             "a{x 256}b", "a{x 43555543}b", "a{TAB 2147483647}b", "a{x 99999999999}b"}) {
        const Played played = Play(keys);
        EXPECT_TRUE(played.result) << keys;
        EXPECT_EQ(played.events, (Events{"a down", "a up", "message Invalid Key Name", "b down", "b up"})) << keys;
    }
}

// Many counted elements together stay within what is typed in a second or two.
TEST(KeyStringTest, RepeatsOfAWholeStringAreBounded) {
    QString keys;
    for (int typed = 0; typed < kMaxRepeatedKeys; typed += kMaxRepeatCount)
        keys += QString("{TAB %1}").arg(std::min(kMaxRepeatCount, kMaxRepeatedKeys - typed));
    const Played played = Play(keys + "{TAB}x");
    const std::size_t tabEvents = 2 * static_cast<std::size_t>(kMaxRepeatedKeys);
    ASSERT_EQ(played.events.size(), tabEvents + 3);
    EXPECT_EQ(played.events[tabEvents - 1], "Tab up");
    EXPECT_EQ(played.events[tabEvents], "message Invalid Key Name");
    EXPECT_EQ(played.events.back(), "x up");
}

// Text made into keys types every character as it stands, the key syntax too.
TEST(KeyStringTest, LiteralKeysTypeTheTextAsItStands) {
    const QString text = "a+^%~(){}[]{{}}%{F4}{a 43555543} 7";
    std::vector<TKeyStep> expected;
    for (uint c : text.toUcs4()) expected.push_back({TKeyStep::Char, 0, char32_t(c)});
    EXPECT_EQ(ParseKeyString(LiteralKeys(text)), expected);
}

TEST(KeyStringTest, CharacterWithoutAKeyIsReportedAndSkipped) {
    const Played played = Play(QString::fromUtf8("1\xC3\xA9" "2"));
    EXPECT_TRUE(played.result);
    EXPECT_EQ(played.events, (Events{"1 down", "1 up", "message Invalid KeyName", "2 down", "2 up"}));
}

TEST(KeyStringTest, EmptyStringHasNoSteps) {
    EXPECT_TRUE(ParseKeyString("").empty());
    EXPECT_TRUE(ParseKeyString("()").empty());
}

TEST(KeyStringTest, WithoutWaitNothingIsDispatchedBetweenKeys) {
    const Played played = Play("15440", false);
    EXPECT_EQ(played.events.size(), 10u);
    EXPECT_EQ(played.events.front(), "1 down");
    EXPECT_EQ(played.events.back(), "0 up");
    EXPECT_EQ(played.dispatches, 0);
}

TEST(KeyStringTest, WithWaitEveryKeyEventIsFollowedByADispatch) {
    EXPECT_EQ(Play("15440", true).dispatches, 10);
    EXPECT_EQ(Play("%R", true).dispatches, 6);
}

} // namespace
} // namespace drmq
