// THamlibWorker: the one thread that owns the Hamlib rig handle and runs its
// blocking calls in order. Its requests come from the UI thread; its events are
// handed to a sink on the worker thread (the window posts them to itself).
#pragma once

#include "rig/HamlibRig.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace drmq {

struct THamlibEvent {
    enum class TKind {
        Opened,        // Caps hold what the rig offers
        OpenFailed,    // Text: Hamlib's reason; the worker holds no rig
        CommandFailed, // Text: a command the rig refused or did not know
        LinkLost,      // Text: why; Reopen tries to open the rig again
        LinkBack,      // reopened after a loss, settings applied again
        Strength       // Db: signal strength relative to S9
    };
    TKind Kind;
    // Which Open the event belongs to; events of an older one can be ignored.
    std::uint64_t Session = 0;
    std::string Text;
    THamlibCaps Caps;
    int Db = 0;
};

class THamlibWorker {
public:
    using TSink = std::function<void(const THamlibEvent &)>;
    explicit THamlibWorker(TSink sink);
    // Closes the rig and ends the thread; a thread stuck in a call that does
    // not end within the grace period is left to finish on its own.
    ~THamlibWorker();
    THamlibWorker(const THamlibWorker &) = delete;
    THamlibWorker &operator=(const THamlibWorker &) = delete;

    // Opens the rig, sets the mode with its widest passband and tunes to hz.
    // Returns the session number its events carry.
    std::uint64_t Open(const THamlibSettings &settings, std::int64_t hz);
    void Close();
    // After a loss: opens the rig again and applies what was last asked for;
    // LinkBack tells it worked, a failure leaves the link lost.
    void Reopen();
    // Tuning, audio level and level readings waiting in the queue are
    // replaced by a newer request of the same kind.
    void Tune(std::int64_t hz);
    void SetPassband(TPassband passband);
    void SetAttenuator(int db);
    void SetAudioLevel(float level);
    void ReadStrength();

private:
    struct TCommand;
    struct TShared;
    void Post(TCommand command);
    static void Run(const std::shared_ptr<TShared> &shared);

    std::shared_ptr<TShared> shared_;
    std::thread thread_;
};

} // namespace drmq
