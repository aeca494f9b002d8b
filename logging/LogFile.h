// TLogFile: the reception log file, opened for appending; every write goes
// straight to the file so a crash loses nothing written. UI thread.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace drmq {

class TLogFile {
public:
    TLogFile() = default;
    ~TLogFile();
    TLogFile(const TLogFile &) = delete;
    TLogFile &operator=(const TLogFile &) = delete;

    // Opens the file for appending and creates it when appending fails;
    // raises EInOutError with the German file error text when neither works.
    void Open(const std::string &path);
    bool IsOpen() const { return file_ != nullptr; }
    // Only while open. Raises EInOutError when the bytes cannot be written;
    // they are lost.
    void Write(std::string_view bytes);
    void Close();

private:
    std::FILE *file_ = nullptr;
};

} // namespace drmq
