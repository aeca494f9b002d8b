// Where the Dream decoder keeps its log files (its working folder) and
// whether its log runs there, read from the files alone. Any thread.
#pragma once

#include <QString>

#include <filesystem>

namespace drmq {

// Dream's per-minute log and its per-second log, in its working folder.
inline constexpr const char *kDreamMinuteLog = "DreamLog.txt";
inline constexpr const char *kDreamSecondLog = "DreamLogLong.csv";

// The working folder of a running process (/proc/<pid>/cwd); empty when the
// process is unknown or its folder cannot be read.
QString ProcessFolder(long pid);

enum class TDreamLogState { Unknown, Running, Stopped };
// While Dream logs it rewrites its per-second log every second: the log runs
// when that file was modified within the last 3 s. Unknown without a
// readable folder.
TDreamLogState DreamLogState(const QString &folder,
                             std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now());

} // namespace drmq
