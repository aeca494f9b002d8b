// TDreamLogReader: reads Dream's DreamLog.txt on a worker thread of its own
// and hands the blocks to its owner's (UI) thread as a queued event.
#pragma once

#include "logging/DreamLogParser.h"

#include <QObject>
#include <QString>

#include <functional>
#include <thread>
#include <vector>

namespace drmq {

class TDreamLogReader : public QObject {
public:
    TDreamLogReader() = default;
    // Waits for a read under way; nothing is handed over afterwards.
    ~TDreamLogReader() override;
    TDreamLogReader(const TDreamLogReader &) = delete;
    TDreamLogReader &operator=(const TDreamLogReader &) = delete;

    // Reads the log in Dream's folder, unless a read is under way. An empty
    // folder, or one that cannot be read, ends in Unreadable; a folder
    // without the file (Dream has not logged there) gives no blocks.
    void Read(const QString &folder);
    bool Reading() const { return reading_; }
    // The blocks of the last read that succeeded.
    const std::vector<TDreamBlock> &Blocks() const { return blocks_; }

    // Told on the owner's thread after a read: new blocks, or why there are none.
    std::function<void()> Changed;
    std::function<void()> Unreadable;

private:
    std::thread worker_;
    bool reading_ = false;
    std::vector<TDreamBlock> blocks_;
};

} // namespace drmq
