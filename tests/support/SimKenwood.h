// Test support: a Kenwood-style receiver (commands and replies ending in ';',
// "FA00006095000;" for the frequency) at the far end of a pseudo-terminal,
// answering on its own thread as Hamlib's TS-850 driver expects.
#pragma once

#include "PtyPair.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace drmq::test {

class TSimKenwood {
public:
    explicit TSimKenwood(TPtyPair &pty);
    ~TSimKenwood();
    TSimKenwood(const TSimKenwood &) = delete;
    TSimKenwood &operator=(const TSimKenwood &) = delete;

    // The frequency of VFO A in Hz and the mode digit ("5" = AM).
    std::int64_t Frequency() const { return frequency_; }
    char Mode() const { return mode_; }
    // Every command received so far, without its ';'.
    std::vector<std::string> Commands();

private:
    void ReadLoop();
    std::string Answer(const std::string &command);

    TPtyPair &pty_;
    std::atomic<std::int64_t> frequency_{7100000};
    std::atomic<char> mode_{'2'};
    std::mutex mutex_;
    std::vector<std::string> commands_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

} // namespace drmq::test
