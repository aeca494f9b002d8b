// Case-insensitive comparison of names (INI sections and keys, colour names):
// ASCII letters only, as those names are. Pure, any thread.
#pragma once

#include <string_view>

namespace drmq {

bool SameText(std::string_view a, std::string_view b);

} // namespace drmq
