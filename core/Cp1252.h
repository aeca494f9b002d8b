// Windows-1252 text: files from the outside world are single-byte text kept
// byte for byte; this converts them for display and back. Pure, any thread.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace drmq {

QString FromCp1252(std::string_view bytes);
// Characters outside Windows-1252 become '?'.
std::string ToCp1252(const QString &text);

} // namespace drmq
