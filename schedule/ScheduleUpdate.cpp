#include "schedule/ScheduleUpdate.h"

namespace drmq {

const char *UpdatePanelText(TUpdateOutcome outcome) {
    switch (outcome) {
    case TUpdateOutcome::Unchanged: return "Update: OK";
    case TUpdateOutcome::Replaced: return "Update: done";
    case TUpdateOutcome::Failed: break;
    }
    return "Update: failed";
}

} // namespace drmq
