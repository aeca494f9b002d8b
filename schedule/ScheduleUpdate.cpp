#include "schedule/ScheduleUpdate.h"

#include "schedule/DownloadText.h"

namespace drmq {

const char *UpdatePanelText(TUpdateOutcome outcome) {
    switch (outcome) {
    case TUpdateOutcome::Unchanged: return "Update: OK";
    case TUpdateOutcome::Replaced: return "Update: done";
    case TUpdateOutcome::Failed: break;
    }
    return "Update: failed";
}

TUpdateOutcome ApplyScheduleUpdate(std::string_view downloaded, const std::string &newPath,
                                   const std::string &schedulePath) {
    const std::string text = NormaliseLineBreaks(downloaded);
    if (text.empty()) return TUpdateOutcome::Failed;
    WriteFileAtomically(newPath, text);

    std::string present;
    if (!TryReadFileBytes(schedulePath, present)) present.clear();
    if (SplitLines(text) == SplitLines(present)) return TUpdateOutcome::Unchanged;
    WriteFileAtomically(schedulePath, text);
    return TUpdateOutcome::Replaced;
}

} // namespace drmq
