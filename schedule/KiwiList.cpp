#include "schedule/KiwiList.h"

#include "schedule/ListedEntry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace drmq {

namespace {
struct TToken {
    enum TKind { End, Text, Number, Null, Open, Close, Colon, Other } Kind = End;
    std::string_view Value;
};

class TTokens {
public:
    explicit TTokens(std::string_view text) : text_(text) {}
    TToken Next() {
        for (;;) {
            while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' ||
                                           text_[pos_] == '\n' || text_[pos_] == ','))
                ++pos_;
            // A comment line: "//" in column one.
            if (text_.substr(pos_, 2) == "//" && (pos_ == 0 || text_[pos_ - 1] == '\n')) {
                const size_t lf = text_.find('\n', pos_);
                pos_ = lf == std::string_view::npos ? text_.size() : lf;
                continue;
            }
            break;
        }
        if (pos_ >= text_.size()) return {};
        const char c = text_[pos_];
        if (c == '"') {
            const size_t close = text_.find('"', pos_ + 1);
            const size_t end = close == std::string_view::npos ? text_.size() : close;
            TToken token{TToken::Text, text_.substr(pos_ + 1, end - pos_ - 1)};
            // A text cut off by the end of the input ends there.
            pos_ = std::min(end + 1, text_.size());
            return token;
        }
        ++pos_;
        if (c == '[' || c == '{') return {TToken::Open, {}};
        if (c == ']' || c == '}') return {TToken::Close, {}};
        if (c == ':') return {TToken::Colon, {}};
        const size_t start = pos_ - 1;
        while (pos_ < text_.size() && std::string_view(" \t\r\n,:[]{}\"").find(text_[pos_]) == std::string_view::npos)
            ++pos_;
        const std::string_view word = text_.substr(start, pos_ - start);
        if (word == "null") return {TToken::Null, word};
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') return {TToken::Number, word};
        return {TToken::Other, word};
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// Minutes of the day of a time item; nothing when it is none.
std::optional<int> MinutesOf(const TToken &token) {
    std::string text(token.Value);
    if (!text.empty() && text.front() == '-') text.erase(0, 1);
    double hours = 0;
    if (token.Kind == TToken::Text) {
        const size_t colon = text.find(':');
        if (colon == std::string::npos) return std::nullopt;
        int h = 0, m = 0;
        if (std::from_chars(text.data(), text.data() + colon, h).ec != std::errc() ||
            std::from_chars(text.data() + colon + 1, text.data() + text.size(), m).ec != std::errc())
            return std::nullopt;
        hours = h + m / 60.0;
    } else if (token.Kind == TToken::Number) {
        if (std::from_chars(text.data(), text.data() + text.size(), hours).ec != std::errc()) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!(hours >= 0 && hours <= 24)) return std::nullopt;
    return static_cast<int>(std::lround(hours * 60));
}

std::string ClockText(int minutes) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d", minutes / 60, minutes % 60);
    return text;
}

std::string Spaced(std::string_view name) {
    std::string text(name);
    for (char &c : text)
        if (c == '_') c = ' ';
    return text;
}

// One station's array: kHz, start, stop, kHz, [start, stop, start, stop], ...;
// a leading URL and anything that is no time are passed over.
class TStationReader {
public:
    TStationReader(TTokens &tokens, std::vector<ScheduleEntry> &entries, const std::string &station,
                   const std::string &region)
        : tokens_(tokens), entries_(entries), station_(station), region_(region) {}

    // Reads up to the array's closing bracket (the opening one is read).
    void Read() {
        for (TToken token = tokens_.Next(); token.Kind != TToken::End && token.Kind != TToken::Close;
             token = tokens_.Next()) {
            if (token.Kind == TToken::Open) {
                ReadSlots();
                khz_.clear();
            } else if (khz_.empty()) {
                if (token.Kind == TToken::Number) khz_ = std::string(token.Value.substr(0, token.Value.find('.')));
            } else if (!start_) {
                start_ = MinutesOf(token);
                if (!start_) khz_.clear();
            } else {
                Emit(token);
                khz_.clear();
            }
        }
    }

private:
    // [start, stop, start, stop] for the kHz read last.
    void ReadSlots() {
        start_.reset();
        int depth = 1;
        for (TToken token = tokens_.Next(); token.Kind != TToken::End; token = tokens_.Next()) {
            if (token.Kind == TToken::Open) ++depth;
            else if (token.Kind == TToken::Close && --depth == 0) break;
            else if (depth > 1 || khz_.empty()) continue;
            else if (!start_) start_ = MinutesOf(token);
            else Emit(token);
        }
        start_.reset();
    }

    void Emit(const TToken &stopToken) {
        const auto stop = MinutesOf(stopToken);
        if (stop && entries_.size() < kMaxListedEntries && !khz_.empty() && khz_.front() != '-') {
            const std::string start = ClockText(*start_), end = ClockText(*stop);
            TListedFields fields;
            fields.Start = start;
            fields.Stop = end;
            fields.Days = DaysField(kEveryDay);
            fields.FrequencyKHz = khz_;
            fields.Target = region_;
            fields.Programme = station_;
            entries_.push_back(MakeListedEntry(fields, TScheduleSource::Kiwisdr));
        }
        start_.reset();
    }

    TTokens &tokens_;
    std::vector<ScheduleEntry> &entries_;
    const std::string &station_;
    const std::string &region_;
    std::string khz_;
    std::optional<int> start_;
};
} // namespace

std::vector<ScheduleEntry> ParseKiwiList(std::string_view bytes) {
    std::vector<ScheduleEntry> entries;
    TTokens tokens(bytes);
    std::string region;
    TToken previous;
    for (TToken token = tokens.Next(); token.Kind != TToken::End; token = tokens.Next()) {
        if (token.Kind == TToken::Colon && previous.Kind == TToken::Text) {
            const std::string key = Spaced(previous.Value);
            const TToken value = tokens.Next();
            if (value.Kind == TToken::Null) region = key;
            else if (value.Kind == TToken::Open) TStationReader(tokens, entries, key, region).Read();
            previous = {};
            continue;
        }
        previous = token;
    }
    return entries;
}

} // namespace drmq
