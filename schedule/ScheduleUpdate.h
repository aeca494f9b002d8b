// The outcome of a schedule update and its status-bar text. Pure, any thread.
#pragma once

namespace drmq {

enum class TUpdateOutcome {
    Failed,    // no list gave a schedule
    Unchanged, // same lines as the present schedule; the file is not rewritten
    Replaced,  // differed (or no schedule yet); the file was replaced
};

// Status-bar panel 0 text: "Update: failed", "Update: OK", "Update: done".
const char *UpdatePanelText(TUpdateOutcome outcome);

} // namespace drmq
