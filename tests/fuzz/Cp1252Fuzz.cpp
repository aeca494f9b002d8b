// Windows-1252 text: every byte string comes back byte for byte, and any
// text at all converts without harm.
#include "FuzzInput.h"

#include "core/Cp1252.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view bytes = fuzz::Text(data, size);
    if (ToCp1252(FromCp1252(bytes)) != bytes) std::abort();
    if (ToCp1252(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))).empty() != bytes.empty())
        std::abort();
    return 0;
}
