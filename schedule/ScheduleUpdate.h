// The schedule update step of start-up: a downloaded schedule is kept as
// "DRMSchedule.new" and replaces "DRMSchedule.ini" when its lines differ.
// File work on the caller's thread (the UI thread at start-up).
#pragma once

#include <string>
#include <string_view>

namespace drmq {

enum class TUpdateOutcome {
    Failed,    // the download gave no text
    Unchanged, // same lines as the present schedule; the file is not rewritten
    Replaced,  // differed (or no schedule yet); the file was replaced
};

// Status-bar panel 0 text: "Update: failed", "Update: OK", "Update: done".
const char *UpdatePanelText(TUpdateOutcome outcome);

// Normalises the download, writes it to `newPath` and, when its lines differ
// from those of `schedulePath` (case-sensitive; a missing file has none),
// replaces `schedulePath` atomically. Raises EInOutError when a file cannot
// be written; the present schedule is then left whole.
TUpdateOutcome ApplyScheduleUpdate(std::string_view downloaded, const std::string &newPath,
                                   const std::string &schedulePath);

} // namespace drmq
