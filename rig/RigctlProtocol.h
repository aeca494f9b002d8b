// The rigctld network protocol as far as the shared receiver speaks it: one
// request line parsed, and its answer formed from what the window shows.
// Plain functions; the share server calls them on its own thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drmq {

// What the window publishes for the clients: the tuned frequency, the level
// shown (if the receiver reports one) and the mode.
struct TShareSnapshot {
    std::int64_t Hz = 0;
    // dB relative to S9 (shown dBuV - 34); empty when no level is shown.
    std::optional<int> Strength;
    std::string Mode = "AM";
    int PassbandHz = 10000;
};

enum class TRigctlCommand {
    None, // an empty line: no answer
    GetFreq,
    SetFreq,
    GetMode,
    SetMode,
    GetVfo,
    SetVfo,
    GetLevel,
    GetPtt,
    GetSplitVfo,
    ChkVfo,
    DumpState,
    GetPowerstat,
    Quit,
    Unknown
};

struct TRigctlRequest {
    TRigctlCommand Command = TRigctlCommand::None;
    // The extended answer's separator ('\n' for "+", ';' or '|'); 0 for the
    // plain answer.
    char Separator = 0;
    std::vector<std::string> Args;
};

// Hamlib's error codes as the protocol reports them ("RPRT -9").
enum TRigctlError : int {
    kRigOk = 0,
    kRigInvalid = -1,  // an argument that cannot be taken
    kRigTimeout = -5,  // the window did not get to the request in time
    kRigIoError = -6,  // the receiver could not be sent the command
    kRigRejected = -9, // refused: not connected, a log runs, another mode
    kRigNotAvailable = -11
};

// The frequencies the receiver can be tuned to, in Hz.
constexpr std::int64_t kShareLowestHz = 150000;
constexpr std::int64_t kShareHighestHz = 29999000;

TRigctlRequest ParseRigctlLine(std::string_view line);

struct TRigctlAnswer {
    std::string Text;
    // A valid tuning: the whole kHz to tune to; the answer then comes from
    // TuneAnswer once the window has tuned (or refused).
    std::optional<int> TuneKhz;
    // The client asked to end the connection (after the answer).
    bool Close = false;
};

TRigctlAnswer AnswerRigctl(const TRigctlRequest &request, const TShareSnapshot &snapshot);
// The answer to a tuning request with the window's result code.
std::string TuneAnswer(const TRigctlRequest &request, int code);

} // namespace drmq
