// Writes a schedule as "DRMSchedule.ini" holds it (nine-line blocks under
// "[DRMSchedule]", CR LF) and the side file that keeps each entry's
// sources, which that format has no line for. Pure, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <string>
#include <string_view>

namespace drmq {

std::string FormatScheduleFile(const ScheduleTable &table);

// The sources file of a schedule file: a check of the schedule's bytes, then
// one line per entry with its "Sources" cell.
std::string SourcesFileText(const ScheduleTable &table, std::string_view scheduleBytes);
// Sets every entry's sources from a sources file; when the file was written
// for other schedule bytes (the schedule came from elsewhere since) nothing
// changes.
void ApplySourcesFile(ScheduleTable &table, std::string_view scheduleBytes, std::string_view sourcesBytes);

} // namespace drmq
