#include "schedule/HttpReply.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace drmq {

namespace {

// Status line and headers together may not exceed this; a reply that does
// is not one we asked for.
constexpr std::size_t kMaxHeadBytes = 64 * 1024;

class TReplyStream {
public:
    explicit TReplyStream(const TReadSome &readSome) : readSome_(readSome) {}

    // One line up to LF, a CR right before the LF dropped. A last line cut
    // off by the close comes back as it is; nothing at all when closed.
    std::optional<std::string> ReadLine(std::size_t maxLength) {
        std::string line;
        for (;;) {
            const auto end = buffer_.begin() + static_cast<std::ptrdiff_t>(pos_);
            const auto lf = std::find(end, buffer_.end(), '\n');
            line.append(end, lf);
            pos_ = static_cast<std::size_t>(lf - buffer_.begin());
            if (line.size() > maxLength) return std::nullopt;
            if (lf != buffer_.end()) {
                ++pos_;
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            if (!Fill()) {
                if (line.empty()) return std::nullopt;
                return line;
            }
        }
    }

    // Appends exactly `count` bytes; false when the peer closes first.
    bool ReadExactly(std::size_t count, std::string &out) {
        while (count > 0) {
            if (pos_ == buffer_.size() && !Fill()) return false;
            const std::size_t take = std::min(count, buffer_.size() - pos_);
            out.append(buffer_, pos_, take);
            pos_ += take;
            count -= take;
        }
        return true;
    }

    // Appends everything up to the close; false when it exceeds `limit`.
    bool ReadToClose(std::string &out, std::size_t limit) {
        for (;;) {
            out.append(buffer_, pos_, std::string::npos);
            pos_ = buffer_.size();
            if (out.size() > limit) return false;
            if (!Fill()) return true;
        }
    }

private:
    bool Fill() {
        if (closed_) return false;
        buffer_.erase(0, pos_);
        pos_ = 0;
        char chunk[16384];
        const std::size_t n = readSome_(chunk, sizeof chunk);
        if (n == 0) {
            closed_ = true;
            return false;
        }
        buffer_.append(chunk, n);
        return true;
    }

    const TReadSome &readSome_;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool closed_ = false;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

template <typename T> std::optional<T> ParseNumber(std::string_view text, int base) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The second blank-separated word of the status line.
std::optional<int> StatusCode(std::string_view statusLine) {
    const std::size_t firstEnd = statusLine.find(' ');
    if (firstEnd == std::string_view::npos) return std::nullopt;
    std::string_view rest = statusLine.substr(firstEnd);
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    return ParseNumber<int>(rest.substr(0, rest.find(' ')), 10);
}

class THeaders {
public:
    void Add(std::string_view line) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return;
        entries_.emplace_back(Lower(std::string(Trim(line.substr(0, colon)))),
                              std::string(Trim(line.substr(colon + 1))));
    }
    // The first header of that name (given in lower case).
    const std::string *Find(std::string_view lowerName) const {
        for (const auto &[name, value] : entries_)
            if (name == lowerName) return &value;
        return nullptr;
    }

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

// Chunked transfer coding: size line (hexadecimal, extensions after ';' or
// a blank ignored), data, line break; a size of 0 ends the body.
bool ReadChunkedBody(TReplyStream &stream, std::string &body, std::size_t limit) {
    for (;;) {
        const auto sizeLine = stream.ReadLine(kMaxHeadBytes);
        if (!sizeLine) return false;
        const std::string_view sizeText = Trim(std::string_view(*sizeLine).substr(0, sizeLine->find_first_of(" \t;")));
        const auto size = ParseNumber<std::uint64_t>(sizeText, 16);
        if (!size) return false;
        if (*size == 0) return true;
        if (*size > limit - body.size()) return false;
        if (!stream.ReadExactly(static_cast<std::size_t>(*size), body)) return false;
        if (!stream.ReadLine(kMaxHeadBytes)) return false;
    }
}

} // namespace

std::string ReadHttpReply(const TReadSome &readSome, std::size_t maxBodyBytes, std::string *failure) {
    auto fail = [failure](std::string why) {
        if (failure) *failure = std::move(why);
        return std::string();
    };
    TReplyStream stream(readSome);
    const auto statusLine = stream.ReadLine(kMaxHeadBytes);
    if (!statusLine) return fail("no reply");
    const auto status = StatusCode(*statusLine);
    if (!status) return fail("malformed reply");

    THeaders headers;
    std::size_t headBytes = statusLine->size();
    for (;;) {
        const auto line = stream.ReadLine(kMaxHeadBytes);
        if (!line) return fail("malformed reply");
        if (line->empty()) break;
        headBytes += line->size();
        if (headBytes > kMaxHeadBytes) return fail("malformed reply");
        headers.Add(*line);
    }
    // Redirects are not followed; the connection closes right after, so the
    // body of a failed reply need not be read.
    if (headers.Find("location")) return fail("redirected (HTTP " + std::to_string(*status) + ")");
    if (*status < 200 || *status > 299) return fail("HTTP " + std::to_string(*status));

    std::string body;
    const std::string *contentLength = headers.Find("content-length");
    const std::string *transferEncoding = headers.Find("transfer-encoding");
    std::uint64_t length = 0;
    if (contentLength) {
        const auto parsed = ParseNumber<std::uint64_t>(*contentLength, 10);
        if (!parsed) return fail("malformed reply");
        length = *parsed;
    }
    if (length > 0) {
        if (length > maxBodyBytes) return fail("too large");
        if (!stream.ReadExactly(static_cast<std::size_t>(length), body)) return fail("truncated");
    } else if (transferEncoding && Lower(*transferEncoding).find("chunked") != std::string::npos) {
        if (!ReadChunkedBody(stream, body, maxBodyBytes)) return fail("truncated or too large");
    } else if (!contentLength) {
        if (!stream.ReadToClose(body, maxBodyBytes)) return fail("too large");
    }
    return body;
}

} // namespace drmq
