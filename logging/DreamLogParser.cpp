#include "logging/DreamLogParser.h"

#include "logging/LevelLogParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace drmq {

namespace {
constexpr double kMinute = 1.0 / 1440.0;

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

template <typename T> bool Whole(std::string_view word, T &value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

bool Decimal(std::string_view word, double &value) {
    // from_chars takes no leading '+'; Dream writes none.
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

// "  0003   12.5   1   42   0" with an optional level after the type.
bool ReadMinute(std::string_view line, TDreamMinute &minute) {
    const auto words = Words(line);
    if (words.size() < 5 || words.size() > 6) return false;
    int sync = 0, type = 0;
    double level = 0.0;
    if (!Whole(words[0], minute.Minute) || !Decimal(words[1], minute.SnrDb) || !Whole(words[2], sync) ||
        !Whole(words[3], minute.AudioOk) || !Whole(words[4], type) || (words.size() == 6 && !Decimal(words[5], level)))
        return false;
    minute.Sync = sync > 0;
    return minute.AudioOk >= 0;
}

// "Label    value": the value after the label and its blanks.
bool Labelled(std::string_view line, std::string_view label, std::string_view &value) {
    if (line.substr(0, label.size()) != label) return false;
    value = line.substr(label.size());
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    return true;
}
} // namespace

std::vector<TDreamBlock> ParseDreamLog(std::string_view bytes) {
    std::vector<TDreamBlock> blocks;
    TDreamBlock open;
    bool inBlock = false;
    bool started = false; // the open block has a start time
    auto close = [&](bool closed) {
        if (inBlock && started) {
            open.Closed = closed;
            blocks.push_back(std::move(open));
        }
        open = {};
        inBlock = started = false;
    };
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line == ">>>>") {
            close(false);
            inBlock = true;
            continue;
        }
        if (!inBlock) continue;
        if (line == "<<<<") {
            close(true);
            continue;
        }
        std::string_view value;
        TDreamMinute minute;
        if (Labelled(line, "Starttime (UTC)", value)) {
            started = ReadLogDateTime(value, open.StartUtc);
        } else if (Labelled(line, "Frequency", value)) {
            if (value.size() >= 4 && value.substr(value.size() - 4) == " kHz") value.remove_suffix(4);
            open.FrequencyKhz = std::string(value);
        } else if (started && ReadMinute(line, minute)) {
            open.Minutes.push_back(minute);
            open.MaxMinute = std::max(open.MaxMinute, minute.Minute);
        }
    }
    // A block still being written keeps the minutes it has.
    close(false);
    return blocks;
}

std::vector<TDreamPoint> DreamMinutesBetween(const std::vector<TDreamBlock> &blocks, double fromUtc, double toUtc) {
    std::vector<TDreamPoint> points;
    for (const TDreamBlock &block : blocks) {
        // A year of nights is searched for every minute of a CSV: blocks
        // wholly outside the span are passed over.
        if (block.Minutes.empty() || block.StartUtc >= toUtc || block.StartUtc + block.MaxMinute / 1440.0 < fromUtc)
            continue;
        for (const TDreamMinute &minute : block.Minutes) {
            const double utc = block.MinuteUtc(minute);
            if (utc >= fromUtc && utc < toUtc) points.push_back({utc, minute});
        }
    }
    std::stable_sort(points.begin(), points.end(), [](const TDreamPoint &a, const TDreamPoint &b) { return a.Utc < b.Utc; });
    return points;
}

std::optional<TDreamPoint> DreamMinuteAt(const std::vector<TDreamBlock> &blocks, double utc) {
    const auto points = DreamMinutesBetween(blocks, utc - kMinute / 2, utc + kMinute / 2);
    if (points.empty()) return std::nullopt;
    return points.front();
}

} // namespace drmq
