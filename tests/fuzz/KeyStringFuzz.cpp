// Key strings: any text makes a bounded plan, and text made literal types
// exactly its own characters.
#include "FuzzInput.h"

#include "logging/KeyString.h"

#include <QList>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view bytes = fuzz::Text(data, size);
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const std::vector<TKeyStep> steps = ParseKeyString(text);
    // Each character gives a step or a modifier put down and released, plus
    // the bounded repeats.
    if (steps.size() > 2 * static_cast<std::size_t>(text.size()) + kMaxRepeatedKeys) std::abort();
    const std::vector<TKeyStep> literal = ParseKeyString(LiteralKeys(text));
    const QList<uint> chars = text.toUcs4();
    if (literal.size() != static_cast<std::size_t>(chars.size())) std::abort();
    for (qsizetype i = 0; i < chars.size(); ++i)
        if (literal[i].kind != TKeyStep::Char || literal[i].ch != char32_t(chars[i])) std::abort();
    return 0;
}
