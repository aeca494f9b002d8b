// The schedule and bulletin addresses from the settings file.
#include "FuzzInput.h"

#include "schedule/HttpUrl.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view url = fuzz::Text(data, size);
    HostOfUrl(url);
    const auto parts = SplitHttpUrl(url);
    if (!parts) return 0;
    if (parts->Host.empty() || parts->Port < 1 || parts->Port > 65535) std::abort();
    if (parts->Path.empty() || parts->Path.front() != '/') std::abort();
    return 0;
}
