// Test support: the receiver's side of the serial cable, at the far end of a
// pseudo-terminal pair. A reader thread takes every byte as soon as it
// arrives (a pseudo-terminal drops unread bytes when the program closes its
// side); the test thread inspects them split into the commands of the
// receiver's protocol family, and answers like the receiver.
#pragma once

#include "PtyPair.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace drmq::test {

enum class TSimFamily {
    Raw,      // no framing (AOR7030, RX320D)
    YaesuCat, // fixed 5-byte blocks (FRG100, FRG8800, FT847)
    CiV,      // frames from FE FE to FD (ICOM)
    Text      // commands ending in CR, LF, CR LF or ';' (PCR1000, E1800, NRD, TS-850)
};

class TSimReceiver {
public:
    explicit TSimReceiver(TPtyPair &pty, TSimFamily family = TSimFamily::Raw);
    ~TSimReceiver();
    TSimReceiver(const TSimReceiver &) = delete;
    TSimReceiver &operator=(const TSimReceiver &) = delete;

    // Waits until at least count bytes have arrived (within a generous bound),
    // serving the UI thread's events, and takes everything received so far. Every receiver test reads this
    // way: the program's writes are counted, never timed.
    std::string Received(size_t count, int timeoutMs = 10000);
    // The same, split into the family's commands.
    std::vector<std::string> Commands(size_t count) { return Split(Received(count)); }
    std::vector<std::string> Split(const std::string &bytes) const;
    void SetFamily(TSimFamily family) { family_ = family; }

    // The FRG100's answer to an S-meter request: three bytes, the reading, 0xF7.
    void SendFrg100Reading(unsigned char reading) const;
    void Send(const std::string &bytes) const { pty_.Write(bytes); }

private:
    void ReadLoop();

    TPtyPair &pty_;
    TSimFamily family_;
    std::mutex mutex_;
    std::string received_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
};

} // namespace drmq::test
