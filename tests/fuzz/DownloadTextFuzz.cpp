// Downloaded text: line breaks made CR LF and split into lines.
#include "FuzzInput.h"

#include "schedule/DownloadText.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view text = fuzz::Text(data, size);
    const std::string normalised = NormaliseLineBreaks(text);
    // Every break is CR LF now, so splitting finds the same lines again.
    for (std::size_t i = 0; i < normalised.size(); ++i) {
        const bool lf = normalised[i] == '\n', cr = normalised[i] == '\r';
        if ((lf && (i == 0 || normalised[i - 1] != '\r')) || (cr && (i + 1 == normalised.size() || normalised[i + 1] != '\n')))
            std::abort();
    }
    if (SplitLines(normalised) != SplitLines(text.substr(0, text.find('\0')))) std::abort();
    return 0;
}
