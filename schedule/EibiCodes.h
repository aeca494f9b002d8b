// Names of the codes EiBi's lists document for languages, target areas and
// countries (ITU codes); a code not known here is shown as it stands. Pure,
// any thread.
#pragma once

#include <string_view>

namespace drmq {

std::string_view EibiLanguageName(std::string_view code);
// Target areas ("CEu", "Oc", ...) and, as EiBi also aims at single countries,
// country codes.
std::string_view EibiTargetName(std::string_view code);
std::string_view EibiCountryName(std::string_view code);

} // namespace drmq
