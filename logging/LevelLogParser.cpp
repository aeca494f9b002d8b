#include "logging/LevelLogParser.h"

#include "core/UtcClock.h"
#include "logging/LogFormat.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace drmq {

namespace {
// A damaged file could otherwise give one note per line.
constexpr std::size_t kMaxNotes = 200;

enum class TMinuteKind { NotMinute, Level, NoSamples };

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

bool SameLetters(std::string_view text, std::string_view lowerCase) {
    if (text.size() != lowerCase.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != lowerCase[i]) return false;
    return true;
}

// "  0003   42": two blanks, the index (at least 4 digits), two blanks and
// the level in a field of 3 characters. A minute that had no samples shows
// as "nan" or "inf" (or their cut forms) where older writers divided by zero.
TMinuteKind ReadMinuteLine(std::string_view line, TMinuteLevel &minute) {
    if (line.size() < 11 || line.substr(0, 2) != "  " || line.substr(line.size() - 5, 2) != "  ") {
        return TMinuteKind::NotMinute;
    }
    const std::string_view index = line.substr(2, line.size() - 7);
    if (index.size() < 4 || index.size() > 5 || !AllDigits(index) || Number(index) > 65535) {
        return TMinuteKind::NotMinute;
    }
    std::string_view field = line.substr(line.size() - 3);
    while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
    for (std::string_view empty : {"nan", "-na", "inf", "-in"})
        if (SameLetters(field, empty)) return TMinuteKind::NoSamples;
    const bool negative = !field.empty() && field.front() == '-';
    const std::string_view digits = negative ? field.substr(1) : field;
    if (!AllDigits(digits)) return TMinuteKind::NotMinute;
    minute.Minute = static_cast<std::uint16_t>(Number(index));
    minute.Level = negative ? -Number(digits) : Number(digits);
    return TMinuteKind::Level;
}

bool TakePrefix(std::string_view &line, std::string_view prefix) {
    if (line.substr(0, prefix.size()) != prefix) return false;
    line.remove_prefix(prefix.size());
    return true;
}
} // namespace

bool ReadLogDateTime(std::string_view text, double &utc) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos || text.size() != dash + 15) return false;
    const std::string_view year = text.substr(0, dash);
    const std::string_view rest = text.substr(dash);
    const char *const shape = "-99-99 99:99:99";
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const bool digit = rest[i] >= '0' && rest[i] <= '9';
        if (shape[i] == '9' ? !digit : rest[i] != shape[i]) return false;
    }
    if (!AllDigits(year) || year.size() > 4) return false;
    DateTimeParts parts;
    parts.year = Number(year);
    parts.month = Number(rest.substr(1, 2));
    parts.day = Number(rest.substr(4, 2));
    parts.hour = Number(rest.substr(7, 2));
    parts.minute = Number(rest.substr(10, 2));
    parts.second = Number(rest.substr(13, 2));
    if (parts.month < 1 || parts.month > 12 || parts.day < 1 || parts.hour > 23 || parts.minute > 59 ||
        parts.second > 59) {
        return false;
    }
    utc = EncodeDateTime(parts);
    // 31 February and the like come back as another day.
    return DecodeDateTime(utc).day == parts.day;
}


void TLevelLogParser::Note(std::size_t line, const std::string &text, std::size_t lastLine) {
    if (log_.Notes.size() >= kMaxNotes) {
        ++droppedNotes_;
        return;
    }
    const std::string where = lastLine > line ? "Lines " + std::to_string(line) + "-" + std::to_string(lastLine)
                                              : "Line " + std::to_string(line);
    log_.Notes.push_back({line, where + ": " + text});
}

void TLevelLogParser::Unknown() {
    if (unknownFirst_ == 0) unknownFirst_ = lineNumber_;
    unknownLast_ = lineNumber_;
}

void TLevelLogParser::FlushUnknown() {
    if (unknownFirst_ == 0) return;
    Note(unknownFirst_, "not a line of this log; skipped.", unknownLast_);
    unknownFirst_ = 0;
}

void TLevelLogParser::Line(std::string_view line) {
    ++lineNumber_;
    if (line == kLogBlockStart) {
        FlushUnknown();
        EndOpenBlock();
        StartBlock();
        return;
    }
    switch (state_) {
    case TState::Between:
        if (line.empty()) FlushUnknown();
        else Unknown();
        break;
    case TState::Header:
        HeaderLine(line);
        break;
    case TState::Minutes:
        MinuteLine(line);
        break;
    case TState::SkipBlock:
        if (line == kLogBlockEnd) state_ = TState::Between;
        break;
    }
}

void TLevelLogParser::StartBlock() {
    block_ = TLevelBlock{};
    block_.FirstLine = lineNumber_;
    headerLine_ = lineNumber_;
    state_ = TState::Header;
}

void TLevelLogParser::HeaderLine(std::string_view line) {
    // Header lines after ">>>>": program name, start time, frequency,
    // receiver, an empty line, the column heads.
    const std::size_t position = lineNumber_ - headerLine_;
    bool understood = false;
    switch (position) {
    case 1:
        understood = line == kLogProgramName;
        break;
    case 2:
        understood = TakePrefix(line, kLogStartLabel) && ReadLogDateTime(line, block_.StartUtc);
        break;
    case 3:
        understood = TakePrefix(line, kLogFrequencyLabel) && line.size() >= kLogKhzSuffix.size() &&
                     line.substr(line.size() - kLogKhzSuffix.size()) == kLogKhzSuffix;
        if (understood) block_.FrequencyKhz = std::string(line.substr(0, line.size() - kLogKhzSuffix.size()));
        break;
    case 4:
        understood = TakePrefix(line, kLogReceiverLabel);
        if (understood) block_.Receiver = std::string(line);
        break;
    case 5:
        understood = line.empty();
        break;
    default:
        understood = line == kLogColumnHeads;
        if (understood) state_ = TState::Minutes;
        break;
    }
    if (!understood) {
        Note(lineNumber_, "block header not in this program's format (an older version?); block skipped.");
        state_ = TState::SkipBlock;
    }
}

void TLevelLogParser::MinuteLine(std::string_view line) {
    TMinuteLevel minute;
    switch (ReadMinuteLine(line, minute)) {
    case TMinuteKind::Level:
        FlushUnknown();
        if (!block_.Minutes.empty() && minute.Minute <= block_.Minutes.back().Minute) {
            Note(lineNumber_, "minute " + std::to_string(minute.Minute) + " follows minute " +
                                  std::to_string(block_.Minutes.back().Minute) + " (the clock went back).");
        }
        block_.Minutes.push_back(minute);
        return;
    case TMinuteKind::NoSamples:
        FlushUnknown();
        return;
    case TMinuteKind::NotMinute:
        break;
    }
    if (line.empty() || line.substr(0, kLogClosingLabel.size()) == kLogClosingLabel) {
        FlushUnknown();
    } else if (line == kLogBlockEnd) {
        FlushUnknown();
        CloseBlock(true);
    } else {
        Unknown();
    }
}

void TLevelLogParser::CloseBlock(bool closed) {
    block_.Closed = closed;
    if (!closed) {
        Note(block_.FirstLine, "the block started " + LogDateTimeText(block_.StartUtc) +
                                   " has no closing lines (cut short); its " + std::to_string(block_.Minutes.size()) +
                                   " minutes are kept.");
    }
    log_.Blocks.push_back(std::move(block_));
    block_ = TLevelBlock{};
    state_ = TState::Between;
}

void TLevelLogParser::EndOpenBlock() {
    if (state_ == TState::Minutes) CloseBlock(false);
    else if (state_ == TState::Header)
        Note(headerLine_, "the block header is incomplete; block skipped.");
    state_ = TState::Between;
}

void TLevelLogParser::UnterminatedLine(std::string_view line) {
    if (line == kLogBlockEnd || line.empty()) {
        Line(line);
        return;
    }
    ++lineNumber_;
    FlushUnknown();
    Note(lineNumber_, "cut off at the end of the file; skipped.");
}

TLevelLog TLevelLogParser::Finish() {
    FlushUnknown();
    EndOpenBlock();
    if (droppedNotes_ > 0) log_.Notes.push_back({0, "... and " + std::to_string(droppedNotes_) + " more notes."});
    droppedNotes_ = 0;
    return std::move(log_);
}

TLevelLog ParseLevelLog(std::string_view bytes) {
    TLevelLogParser parser;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) {
            parser.UnterminatedLine(bytes);
            break;
        }
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        parser.Line(line);
        bytes.remove_prefix(end + 1);
    }
    return parser.Finish();
}

TLevelLog ReadLevelLogFile(const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno == ENOENT) return {};
        TLevelLog log;
        log.Notes.push_back({0, path + ": " + std::strerror(errno)});
        return log;
    }
    std::string bytes;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    TLevelLog log = ParseLevelLog(bytes);
    if (failed) log.Notes.push_back({0, path + ": reading stopped early."});
    return log;
}

} // namespace drmq
