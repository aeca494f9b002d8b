// Reads the reception log back: its blocks as minute levels with start time,
// frequency and receiver, and notes on what could not be used. Pure, any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

// One minute line: the minute index and the level as the file holds it.
struct TMinuteLevel {
    std::uint16_t Minute = 0;
    double Level = 0.0; // dBµV
    bool operator==(const TMinuteLevel &) const = default;
};

struct TLevelBlock {
    double StartUtc = 0.0;      // the header's start time (days), whole seconds
    std::string FrequencyKhz;   // the header's frequency text, single-byte
    std::string Receiver;       // the header's receiver name, single-byte
    std::vector<TMinuteLevel> Minutes; // in file order; minutes without samples are absent
    bool Closed = false;        // the closing lines were read
    std::size_t FirstLine = 0;  // line number of ">>>>", from 1

    // Where a minute begins (days): the log counts minutes from its start.
    double MinuteUtc(const TMinuteLevel &m) const { return StartUtc + m.Minute / 1440.0; }
    // A block is known by its start and frequency, in the file and while it runs.
    bool SameBlock(const TLevelBlock &other) const {
        return StartUtc == other.StartUtc && FrequencyKhz == other.FrequencyKhz;
    }
};

// What was skipped and why: "Line 12: ..." about the line (0: the whole file).
struct TLogNote {
    std::size_t Line = 0;
    std::string Text;
};

struct TLevelLog {
    std::vector<TLevelBlock> Blocks; // in file order
    std::vector<TLogNote> Notes;     // in line order
};

// Reads the log line by line, so a file and the text a running log writes
// go through the same rules.
class TLevelLogParser {
public:
    // One line without its line end.
    void Line(std::string_view line);
    // The last line of a text that ends without a line end: only a complete
    // closing mark is taken, anything else was cut off while being written.
    void UnterminatedLine(std::string_view line);
    // End of the text: a block still open was cut short; its minutes are kept.
    TLevelLog Finish();

    // The block being read, null between blocks.
    const TLevelBlock *OpenBlock() const { return state_ == TState::Minutes ? &block_ : nullptr; }

private:
    enum class TState { Between, Header, Minutes, SkipBlock };
    void StartBlock();
    void HeaderLine(std::string_view line);
    void MinuteLine(std::string_view line);
    void CloseBlock(bool closed);
    // A new block or the end of the text ends the block being read.
    void EndOpenBlock();
    void Unknown();
    // A note about a line, or about a run of lines up to lastLine.
    void Note(std::size_t line, const std::string &text, std::size_t lastLine = 0);
    void FlushUnknown();

    TLevelLog log_;
    TState state_ = TState::Between;
    TLevelBlock block_;
    std::size_t headerLine_ = 0;
    std::size_t lineNumber_ = 0;
    std::size_t unknownFirst_ = 0;
    std::size_t unknownLast_ = 0;
    std::size_t droppedNotes_ = 0;
};

// "2005-03-05 07:08:09", the start time as this program's log and Dream's
// write it, to UTC days; false unless it is a real date and time.
bool ReadLogDateTime(std::string_view text, double &utc);

// The whole text of a log file.
TLevelLog ParseLevelLog(std::string_view bytes);
// Reads "DRMQuodra.log" or another log file; a missing file is an empty log,
// any other reading failure a note.
TLevelLog ReadLevelLogFile(const std::string &path);

} // namespace drmq
