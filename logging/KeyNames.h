// The named keys of the key-string language ("{TAB}", "{F5}", ...) and the
// keys they press on X11. Pure, any thread.
#pragma once

#include <optional>
#include <string_view>

namespace drmq {

// The name must already be in upper case. Unknown names give nothing.
std::optional<unsigned long> NamedKeySym(std::string_view upperName);

// The name that toggles Num Lock instead of pressing a key.
inline constexpr std::string_view kNumLockName = "NUMLOCK";

} // namespace drmq
