// THamlibRig: one Hamlib rig handle and the blocking calls the program makes
// on it. Runs on the Hamlib worker thread only (Hamlib calls may take seconds).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct s_rig;

namespace drmq {

// What the user chose in the Hamlib settings.
struct THamlibSettings {
    int Model = 2;                        // Hamlib's model number; 2 = rigctld over the network
    std::string Port = "localhost:4532"; // device path, or host:port for network models
    int Speed = 0;                        // serial speed; 0 = the model's own
    std::string Mode = "AM";
};

// The passbands offered in the filter list, in its order.
enum class TPassband { Narrow, Normal, Wide };

// What the opened rig offers, as far as the program uses it.
struct THamlibCaps {
    std::vector<int> AttenuatorSteps; // dB, without 0; empty when it cannot switch one
    bool AudioLevel = false;          // the audio level can be set
    bool Strength = false;            // the signal strength can be read
    bool Passbands = false;           // the mode and its passband can be set
    // The rig's current settings where it could tell them.
    std::optional<int> Attenuator;
    std::optional<float> Audio;
};

// The outcome of one Hamlib call: 0 or Hamlib's negative error code, with
// Hamlib's text for it and the first error Hamlib logged during the call.
struct THamlibResult {
    int Code = 0;
    std::string Text;
    bool Ok() const { return Code == 0; }
    // Whether the rig stopped answering or its port went away (as opposed
    // to a command the rig refused).
    bool LinkFailure() const;
};

// Keeps Hamlib's diagnostics off the terminal; its errors explain failed
// calls instead. Safe to call more than once, from any thread.
void QuietHamlib();

class THamlibRig {
public:
    THamlibRig();
    ~THamlibRig();
    THamlibRig(const THamlibRig &) = delete;
    THamlibRig &operator=(const THamlibRig &) = delete;

    // Opens the rig of the settings; a handle open before is closed first.
    THamlibResult Open(const THamlibSettings &settings);
    // Closes the port and releases the handle; nothing when none is open.
    void Close();
    bool IsOpen() const { return rig_ != nullptr; }

    THamlibCaps Capabilities();
    // Sets the mode (Hamlib's name, e.g. "AM") with the given passband.
    THamlibResult SetMode(const std::string &mode, TPassband passband);
    THamlibResult SetFrequency(std::int64_t hz);
    THamlibResult SetAttenuator(int db);
    // 0.0 = silent .. 1.0 = loudest.
    THamlibResult SetAudioLevel(float level);
    // The signal strength in dB relative to S9.
    THamlibResult ReadStrength(int &db);

private:
    // The passband of the mode: the widest the rig lists for Wide.
    long PassbandOf(std::uint64_t mode, TPassband passband) const;
    s_rig *rig_ = nullptr;
};

} // namespace drmq
