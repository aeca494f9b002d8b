// Request lines of the programs the receiver is shared with.
#include "FuzzInput.h"

#include "rig/RigctlProtocol.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    TShareSnapshot snapshot;
    snapshot.Hz = 6095000;
    snapshot.Strength = size % 2 ? std::optional<int>(20) : std::nullopt;
    const TRigctlRequest request = ParseRigctlLine(fuzz::Text(data, size));
    const TRigctlAnswer answer = AnswerRigctl(request, snapshot);
    // Every request but an empty line is answered, with whole lines.
    if (answer.TuneKhz) {
        if (*answer.TuneKhz < 150 || *answer.TuneKhz > 29999 || !answer.Text.empty()) std::abort();
        const std::string tuned = TuneAnswer(request, kRigOk);
        if (tuned.empty() || tuned.back() != '\n') std::abort();
    } else if ((request.Command == TRigctlCommand::None) != answer.Text.empty() ||
               (!answer.Text.empty() && answer.Text.back() != '\n')) {
        std::abort();
    }
    return 0;
}
