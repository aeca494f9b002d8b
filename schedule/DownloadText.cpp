#include "schedule/DownloadText.h"

#include "core/RunErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace drmq {

std::string NormaliseLineBreaks(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

bool TryReadFileBytes(const std::string &path, std::string &bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return false;
    bytes = content.str();
    return true;
}

namespace {
// Removes the half-written file and raises the error of the failed step.
[[noreturn]] void Abandon(int fd, const std::string &temporary, int err) {
    if (fd >= 0) close(fd);
    unlink(temporary.c_str());
    RaiseFileErrorFromErrno(err);
}
} // namespace

void WriteFileAtomically(const std::string &path, std::string_view bytes) {
    const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) RaiseFileErrorFromErrno(errno);
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Abandon(fd, temporary, errno);
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    // The data must be on disk before the name points at it.
    if (fsync(fd) != 0) Abandon(fd, temporary, errno);
    if (close(fd) != 0) Abandon(-1, temporary, errno);
    if (rename(temporary.c_str(), path.c_str()) != 0) Abandon(-1, temporary, errno);
}

} // namespace drmq
