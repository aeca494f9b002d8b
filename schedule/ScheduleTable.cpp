#include "schedule/ScheduleTable.h"

namespace drmq {

std::string_view AirStateText(TAirState state) {
    switch (state) {
    case TAirState::OffAir: return "offair";
    case TAirState::OnAir: return "onair";
    case TAirState::None: break;
    }
    return "";
}

} // namespace drmq
