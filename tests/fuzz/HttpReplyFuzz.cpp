// An HTTP reply as a server sends it, arriving in pieces whose sizes the
// first byte chooses.
#include "FuzzInput.h"

#include "schedule/HttpReply.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    if (size == 0) return 0;
    const std::size_t piece = data[0] % 64 + 1;
    std::string_view rest = fuzz::Text(data + 1, size - 1);
    const TReadSome readSome = [&](char *buffer, std::size_t room) {
        const std::size_t n = std::min({room, piece, rest.size()});
        std::memcpy(buffer, rest.data(), n);
        rest.remove_prefix(n);
        return n;
    };
    constexpr std::size_t kMaxBody = 4096;
    if (ReadHttpReply(readSome, kMaxBody).size() > kMaxBody) std::abort();
    return 0;
}
