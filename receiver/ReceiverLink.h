// TReceiverLink: the one face every receiver shows the main window, whatever
// carries it (serial bytes, a maker's library, synthesizer lines, Hamlib),
// made from the model's catalogue row. UI thread.
#pragma once

#include "rig/ControlStates.h"
#include "rig/ReceiverModel.h"
#include "tuning/FrequencyCommand.h"
#include "tuning/SynthesizerFrontEnd.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace drmq {

class TComPort;
class TLinePort;
class TVendorLibrary;
struct THamlibSettings;

// What a receiver has besides tuning.
struct TLinkCapabilities {
    bool ReportsLevel = false; // a level is read every second
    bool KeepAlive = false;    // wants its keep-alive every 5 s while connected
    bool TunesFromFields = false; // the IF and clock fields feed its tuning (Elektor)
};

// The window's control values a link reads when it acts.
struct TControlValues {
    std::string FrequencyText; // Edit1
    int AttenuatorIndex = -1;  // cbatt
    int DwtModeIndex = -1;     // dwtmod
    int AntennaIndex = -1;     // cmbant
    int RfAttenuatorIndex = -1; // cmbdwtatt
    TSynthesizerFields Synthesizer;
};

// A level reading: the dBuV figure, its text for lblsm and, from the DWT, the LIF text.
struct TLinkLevel {
    double Rxl = 0.0;
    QString Text;
    std::optional<QString> Lif;
};

// Controls a link learns only once it is open (Hamlib): the tables to apply
// and the list and bar positions to show, set without sending anything.
struct TLinkControls {
    TModelControls Controls;
    std::optional<int> AttenuatorIndex;
    std::optional<int> FilterIndex;
    std::optional<int> VolumePosition;
};

// What the window does for a link. Every call arrives on the UI thread.
class TLinkHost {
public:
    virtual ~TLinkHost() = default;
    virtual TControlValues ControlValues() const = 0;
    // Switches the common controls, runs afterCommonSet, then the model's controls.
    virtual void SwitchControlsOnConnect(const std::function<void()> &afterCommonSet) = 0;
    // Tunes to the frequency field (SetFreq of Edit1).
    virtual void Retune() = 0;
    // Shows a frequency in the frequency field without tuning.
    virtual void ShowFrequency(const QString &khz) = 0;
    virtual void ShowMessage(const QString &text) = 0;
    // Reads the DRT1's offset field into the offset it adds.
    virtual void ApplyOffsetField() = 0;
    virtual void ShowLevel(const TLinkLevel &level) = 0;
    virtual void ApplyLinkControls(const TLinkControls &controls) = 0;
    // The open did not complete: "Connect" unticked, controls back, reason shown.
    virtual void LinkOpenFailed(const QString &reason) = 0;
    virtual void LinkCommandFailed(const QString &reason) = 0;
    virtual void LinkLost(const QString &cause) = 0;
    virtual void LinkBack() = 0;
    // A lost link is open again and took the initialisation: tune it to the field.
    virtual void LinkReopened() = 0;
};

// What the receiver's serial replies leave for the level reading.
struct TLinkReadings {
    std::uint8_t SMeterByte = 0;    // the last S-meter reading
    std::uint8_t AorSecondByte = 0; // the AOR7030's second S-meter byte
    std::string ReplyBuffer;
    std::array<std::array<std::uint8_t, 59>, 256> CalibrationTable{};
};

// The window's parts a link works with. They outlive every link.
struct TLinkParts {
    TComPort &Port;
    std::function<TLinePort &()> Lines;
    TVendorLibrary &Library;
    TLinkReadings &Readings;
    // Set once a serial port has been opened in this run.
    bool &PortUsed;
    std::vector<std::string> LibraryFolders;
    std::string CalibrationPath;
    // Runs a job on the UI thread later (events of worker threads); what it
    // raises is shown like an error of the clock's.
    std::function<void(std::function<void()>)> PostToUi;
};

// The settings a link reads (those with no control).
struct TLinkSettings {
    int Frg100Delay = 0;
    int IcomBaudrate = 2;
    std::string IcomRigAddress = "$00";
    double AntennaCorrection = 0.0;
    const THamlibSettings *Hamlib = nullptr;
};

class TReceiverLink {
public:
    virtual ~TReceiverLink() = default;
    virtual const TReceiverEntry &Model() const = 0;
    virtual TLinkCapabilities Capabilities() const = 0;

    // Connect: opens the link, sends the model's initialisation and switches
    // the controls (through the host) at the model's point of the sequence.
    virtual void Open() = 0;
    // Disconnect: the model's closing commands, then the link is closed.
    virtual void Close() = 0;
    // A connect or disconnect that raised: closes what is open, sends nothing.
    virtual void Abandon() {}
    // Tries to reopen a lost link and send the initialisation again; the host
    // hears LinkReopened once the receiver has taken it.
    virtual void Reopen() {}
    // Waits until every request so far has reached the device.
    virtual void Finish() {}
    // Runs then on the UI thread once every request so far has reached the
    // device; not at all when one of them failed.
    virtual void AfterRequests(std::function<void()> then) { then(); }
    // The window closes: libraries closed and released, threads ended.
    virtual void Shutdown() {}

    virtual void Tune(const TFrequencyCommand &command) = 0;
    virtual void SetAttenuator(int /*index*/) {}
    virtual void SetFilter(int /*index*/) {}
    virtual void SetAuxLevel(int /*position*/) {}
    virtual void SetSpeakerLevel(int /*position*/) {}
    virtual void SetDwtMode(int /*itemIndex*/) {}
    virtual void SetAntenna(int /*itemIndex*/) {}
    virtual void SetRfAttenuator(int /*itemIndex*/) {}
    // The clock's level reading; the level comes back through the host.
    virtual void RequestLevel() {}
    // Bytes the receiver sent on its own have arrived.
    virtual void RepliesArrived(int /*count*/) {}
    virtual void KeepAlive() {}
};

// The link of a catalogue model, or nullptr for a number the catalogue does not have.
std::unique_ptr<TReceiverLink> MakeReceiverLink(int model, TLinkHost &host, TLinkParts parts,
                                                TLinkSettings settings);

// The shutdown writes of a model on a port that is opened for them.
void IdleSerialReceiver(TComPort &port, int model);

} // namespace drmq
