#include "logging/DreamLogReader.h"

#include "logging/DreamFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <optional>

namespace drmq {

namespace {
// The log's bytes; none when the folder cannot be read. A file that is not
// there yet reads as empty.
std::optional<std::string> ReadLog(const QString &folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) return std::nullopt;
    QFile file(QDir(folder).filePath(kDreamMinuteLog));
    if (!file.exists()) return std::string();
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll().toStdString();
}
} // namespace

TDreamLogReader::~TDreamLogReader() {
    if (worker_.joinable()) worker_.join();
}

void TDreamLogReader::Read(const QString &folder) {
    if (reading_) return;
    // The previous worker has posted its event already.
    if (worker_.joinable()) worker_.join();
    reading_ = true;
    worker_ = std::thread([this, folder] {
        std::optional<std::vector<TDreamBlock>> blocks;
        if (const auto bytes = ReadLog(folder)) blocks = ParseDreamLog(*bytes);
        QMetaObject::invokeMethod(
            this,
            [this, blocks = std::move(blocks)]() mutable {
                reading_ = false;
                if (!blocks) {
                    if (Unreadable) Unreadable();
                    return;
                }
                blocks_ = std::move(*blocks);
                if (Changed) Changed();
            },
            Qt::QueuedConnection);
    });
}

} // namespace drmq
