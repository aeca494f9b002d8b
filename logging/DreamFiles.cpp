#include "logging/DreamFiles.h"

#include <QFile>

#include <chrono>
#include <system_error>

namespace drmq {

namespace {
constexpr std::chrono::seconds kLiveFileAge{3};

std::filesystem::path PathOf(const QString &folder) { return std::filesystem::path(QFile::encodeName(folder).toStdString()); }
} // namespace

QString ProcessFolder(long pid) {
    if (pid <= 0) return {};
    std::error_code error;
    const auto folder = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/cwd", error);
    if (error || !std::filesystem::is_directory(folder, error)) return {};
    return QFile::decodeName(QByteArray::fromStdString(folder.string()));
}

TDreamLogState DreamLogState(const QString &folder, std::filesystem::file_time_type now) {
    if (folder.isEmpty()) return TDreamLogState::Unknown;
    const std::filesystem::path dir = PathOf(folder);
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) return TDreamLogState::Unknown;
    const auto modified = std::filesystem::last_write_time(dir / kDreamSecondLog, error);
    // No file yet: Dream has not logged in this folder.
    if (error) return TDreamLogState::Stopped;
    return now - modified <= kLiveFileAge ? TDreamLogState::Running : TDreamLogState::Stopped;
}

} // namespace drmq
