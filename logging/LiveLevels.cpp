#include "logging/LiveLevels.h"

namespace drmq {

void TLiveLevels::Tell(TChange change) const {
    if (listener_) listener_(change);
}

void TLiveLevels::Begin() {
    parser_ = TLevelLogParser{};
    closed_.reset();
    seconds_.clear();
    running_ = true;
}

void TLiveLevels::Written(std::string_view text) {
    const TLevelBlock *before = parser_.OpenBlock();
    const std::size_t minutes = before ? before->Minutes.size() : 0;
    // The writer ends every line, so each piece up to a line end is whole.
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const bool wasOpen = parser_.OpenBlock() != nullptr;
        parser_.Line(line);
        if (wasOpen && !parser_.OpenBlock()) {
            TLevelLog log = parser_.Finish();
            if (!log.Blocks.empty()) closed_ = std::move(log.Blocks.back());
            parser_ = TLevelLogParser{};
        }
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    const TLevelBlock *after = Block();
    if (!before && parser_.OpenBlock()) Tell(TChange::Started);
    else if (after && after->Minutes.size() > minutes) Tell(TChange::Minute);
}

void TLiveLevels::AddSecond(double elapsedDays, double level) {
    const TLevelBlock *block = Block();
    if (!running_ || !block) return;
    seconds_.push_back({block->StartUtc + elapsedDays, level});
    Tell(TChange::Second);
}

void TLiveLevels::Stop() {
    if (!running_) return;
    running_ = false;
    Tell(TChange::Stopped);
}

const TLevelBlock *TLiveLevels::Block() const {
    if (const TLevelBlock *open = parser_.OpenBlock()) return open;
    return closed_ ? &*closed_ : nullptr;
}

} // namespace drmq
