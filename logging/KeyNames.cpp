#include "logging/KeyNames.h"

#include <X11/keysym.h>

#include <array>
#include <utility>

namespace drmq {

namespace {
// 41 names; several name the same key.
constexpr std::array<std::pair<std::string_view, unsigned long>, 41> kNamedKeys = {{
    {"BACKSPACE", XK_BackSpace}, {"BKSP", XK_BackSpace}, {"BS", XK_BackSpace},
    {"BREAK", XK_Break},         {"CAPSLOCK", XK_Caps_Lock}, {"CLEAR", XK_Clear},
    {"DEL", XK_Delete},          {"DELETE", XK_Delete},  {"DOWN", XK_Down},
    {"UP", XK_Up},               {"LEFT", XK_Left},      {"RIGHT", XK_Right},
    {"END", XK_End},             {"HOME", XK_Home},      {"ENTER", XK_Return},
    {"ESC", XK_Escape},          {"ESCAPE", XK_Escape},  {"F1", XK_F1},
    {"F2", XK_F2},               {"F3", XK_F3},          {"F4", XK_F4},
    {"F5", XK_F5},               {"F6", XK_F6},          {"F7", XK_F7},
    {"F8", XK_F8},               {"F9", XK_F9},          {"F10", XK_F10},
    {"F11", XK_F11},             {"F12", XK_F12},        {"F13", XK_F13},
    {"F14", XK_F14},             {"F15", XK_F15},        {"F16", XK_F16},
    {"HELP", XK_Help},           {"INS", XK_Insert},     {"NUMLOCK", XK_Num_Lock},
    {"PGDN", XK_Page_Down},      {"PGUP", XK_Page_Up},   {"PRTSC", XK_Print},
    {"SCROLLLOCK", XK_Scroll_Lock}, {"TAB", XK_Tab},
}};
} // namespace

std::optional<unsigned long> NamedKeySym(std::string_view upperName) {
    for (const auto &[name, keysym] : kNamedKeys)
        if (name == upperName) return keysym;
    return std::nullopt;
}

} // namespace drmq
