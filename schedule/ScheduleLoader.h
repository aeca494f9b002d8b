// Reads "DRMSchedule.ini": nine-line blocks opened by "StartStopTimeUTC=",
// values cut from fixed byte columns. Pure functions, any thread.
#pragma once

#include "schedule/ScheduleTable.h"

#include <string>
#include <string_view>

namespace drmq {

// The schedule in the bytes of a whole file.
ScheduleTable ParseSchedule(std::string_view bytes);
// Opens the file read-only and parses it; a file that cannot be opened or
// read raises EInOutError ("Datei nicht gefunden", "Dateizugriff verweigert").
ScheduleTable LoadScheduleFile(const std::string &path);
// The file's bytes, raising EInOutError as LoadScheduleFile does.
std::string ReadScheduleBytes(const std::string &path);

} // namespace drmq
