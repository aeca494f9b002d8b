#include "logging/LogFile.h"

#include "core/RunErrors.h"

#include <cerrno>

namespace drmq {

TLogFile::~TLogFile() {
    Close();
}

void TLogFile::Open(const std::string &path) {
    Close();
    file_ = std::fopen(path.c_str(), "ab");
    if (!file_) file_ = std::fopen(path.c_str(), "wb");
    if (!file_) RaiseFileErrorFromErrno(errno);
    // Unbuffered: a failed write leaves nothing behind to reappear later.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

void TLogFile::Write(std::string_view bytes) {
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    if (std::fflush(file_) != 0 || !written) {
        const int err = errno;
        std::clearerr(file_);
        RaiseFileErrorFromErrno(err != 0 ? err : EIO);
    }
}

void TLogFile::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

} // namespace drmq
