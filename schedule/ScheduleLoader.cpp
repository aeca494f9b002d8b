#include "schedule/ScheduleLoader.h"

#include "core/RunErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace drmq {

namespace {
constexpr std::string_view kMarker = "StartStopTimeUTC=";

// Lines end at LF; any CR is dropped, whether before the LF or elsewhere.
class TLineReader {
public:
    explicit TLineReader(std::string_view bytes) : rest_(bytes) {}
    bool AtEnd() const { return rest_.empty(); }
    // The next line, valid until the following call; empty past the end.
    std::string_view Next() {
        if (rest_.empty()) return {};
        const size_t lf = rest_.find('\n');
        std::string_view line = rest_.substr(0, lf);
        rest_ = lf == std::string_view::npos ? std::string_view{} : rest_.substr(lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find('\r') == std::string_view::npos) return line;
        scratch_.clear();
        for (char c : line)
            if (c != '\r') scratch_.push_back(c);
        return scratch_;
    }

private:
    std::string_view rest_;
    std::string scratch_;
};

// Up to width characters from the 1-based column; empty when the line is shorter.
std::string_view Cut(std::string_view line, size_t column, size_t width) {
    if (line.size() < column) return {};
    return line.substr(column - 1, width);
}

void ReadFieldLines(TLineReader &lines, ScheduleEntry &entry) {
    entry.Days.Assign(Cut(lines.Next(), 15, 7));
    entry.FrequencyKHz.Assign(Cut(lines.Next(), 11, 5));
    entry.Target.Assign(Cut(lines.Next(), 8, 20));
    entry.PowerKW.Assign(Cut(lines.Next(), 7, 5));
    entry.Programme.Assign(Cut(lines.Next(), 11, 20));
    entry.Language.Assign(Cut(lines.Next(), 10, 15));
    entry.Site.Assign(Cut(lines.Next(), 6, 20));
    entry.Country.Assign(Cut(lines.Next(), 9, 20));
}

class TFileHandle {
public:
    explicit TFileHandle(int fd) : fd_(fd) {}
    ~TFileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    TFileHandle(const TFileHandle &) = delete;
    TFileHandle &operator=(const TFileHandle &) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string ReadScheduleBytes(const std::string &path) {
    TFileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) RaiseFileErrorFromErrno(errno);
    std::string bytes;
    struct stat info {};
    if (::fstat(file.Get(), &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            RaiseFileErrorFromErrno(errno);
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
}

ScheduleTable ParseSchedule(std::string_view bytes) {
    ScheduleTable table;
    TLineReader lines(bytes);
    // The first line is a title and is never looked at.
    lines.Next();
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        if (line.find(kMarker) == std::string_view::npos) continue;
        ScheduleEntry &entry = table.Entries.emplace_back();
        entry.StartTime.Assign(Cut(line, 18, 4));
        entry.StopTime.Assign(Cut(line, 23, 4));
        ReadFieldLines(lines, entry);
    }
    return table;
}

ScheduleTable LoadScheduleFile(const std::string &path) {
    return ParseSchedule(ReadScheduleBytes(path));
}

} // namespace drmq
