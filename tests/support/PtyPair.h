// A pseudo-terminal pair standing in for a serial cable: the program opens
// DevicePath(), the test plays the far end through FarFd(). Any one thread.
#pragma once

#include <string>
#include <string_view>

namespace drmq::test {

class TPtyPair {
public:
    // Opens the pair; the line starts raw (no echo, no line editing). A
    // handle on the program side stays open so the far end never sees a
    // hang-up while the program has the port closed.
    TPtyPair();
    ~TPtyPair();
    TPtyPair(const TPtyPair &) = delete;
    TPtyPair &operator=(const TPtyPair &) = delete;

    // The device path the program opens (/dev/pts/N).
    const std::string &DevicePath() const { return path_; }
    int FarFd() const { return far_; }

    // Reads exactly n bytes at the far end, or what arrived before the time-out.
    std::string ReadExact(std::size_t n, int timeoutMs = 2000) const;
    // Reads whatever arrives until the line has been quiet for quietMs.
    std::string ReadUntilQuiet(int quietMs = 100) const;
    // Writes all bytes at the far end.
    void Write(std::string_view bytes) const;
    // Fills the line towards the far end until the terminal accepts no more,
    // as a far end that stopped reading would.
    void FillProgramOutput() const;

private:
    int far_ = -1;
    int near_ = -1;
    std::string path_;
};

} // namespace drmq::test
