// ReceiverModel: the catalogue of the supported receivers, one row per model
// with everything that makes the model what it is. Pure data, any thread.
#pragma once

#include "rig/ComPort.h"
#include "rig/ControlStates.h"

#include <cstddef>
#include <string>
#include <vector>

namespace drmq {

// The model's number: stored as "Receiver" in the settings file and never
// reused, so a model added later does not change what a stored number means.
// The receiver list shows the catalogue rows in catalogue order.
enum ReceiverModel {
    rmAOR7030 = 0,
    rmFRG100 = 1,
    rmFRG8800 = 2,
    rmFT847 = 3,
    rmRX320D = 4,
    rmWRG303 = 5,
    rmPCR1000 = 6,
    rmElektor = 7,
    rmE1800 = 8,
    rmNRD545 = 9,
    rmDWT = 10,
    rmDRT1 = 11,
    rmWRG313 = 12,
    rmICOM = 13,
    rmNRD535 = 14,
    rmDWTCT = 15,
    rmNRD525 = 16,
    rmTS850 = 17,
    rmHamlib = 18, // any rig Hamlib drives, locally or over the network
};

constexpr int kReceiverModelCount = 19;

enum class TLinkKind {
    SerialPort,     // ComPort1 with the row's line settings
    RadioLibrary,   // a WiNRADiO library, driven through a radio handle
    FrontendLibrary, // the DWT front-end library
    LinesHeld,      // synthesizer on the control lines, held open while connected
    LinesPerCommand, // synthesizer on the control lines, opened for every command
    HamlibRig       // a Hamlib rig handle, driven on the Hamlib worker thread
};

// Line settings a connect sets besides speed and stop bits.
enum class TExtraLines {
    None,
    Handshake,        // 8 data bits, no parity check, keep 0x00, DTR and RTS in handshake mode
    DtrOnAfterOpen,   // DTR switched on once the port is open
    AllLinesOffAfterOpen // DTR, RTS and break switched off on the line port
};

// How a frequency becomes the model's tuning command (tuning/FrequencyCommand).
enum class TFrequencyFamily {
    None,
    Aor7030,  // tuning word in nibbles
    Rx320d,   // coarse and fine factors
    Frg100,   // Yaesu CAT: 0x00, packed BCD, 0x0A
    Frg8800,  // Yaesu CAT: 0x01, packed BCD, 0x01
    Ft847,    // Yaesu CAT with the offset byte
    Icom,     // CI-V frame
    Text,     // Head, the kHz text filled to Width, Tail
    Hz        // libraries, synthesizers and Hamlib take the frequency itself
};

// Attenuator, filter, AUX and speaker commands (tuning/ControlCommands).
enum class TControlFamily { None, Aor7030, Rx320d, Pcr1000, Nrd545, Nrd, Icom };

// How the model's signal level is read each second.
enum class TLevelKind {
    None,
    Aor7030, // two S-meter requests, one byte each
    Frg100,  // request; the reply arrives on its own and is calibrated
    Dwt,     // front-end library, in "DRM" mode
    Ts850,   // "SM;" and its seven-byte reply
    Hamlib   // the rig's strength through the worker
};

struct TReceiverEntry {
    ReceiverModel Index;
    const char *ListText;
    TLinkKind Link;
    // Serial line.
    TBaudRate Baud = br9600;
    TStopBits Stop = sbOneStopBit;
    TExtraLines Extra = TExtraLines::None;
    // The speed comes from the "ICOM Baudrate" setting: 1 selects 1200 baud.
    bool BaudFromIcomSetting = false;
    // Library models: the shared-library file and the message shown when it is missing.
    const char *LibraryFile = nullptr;
    const char *LibraryMissingText = nullptr;
    // Serial bytes: initialisation writes (each complete before the next),
    // closing writes at disconnect, idle writes at shutdown.
    std::vector<std::string> Init = {};
    std::vector<std::string> Close = {};
    std::vector<std::string> Idle = {};
    // The initialisation goes out after the controls are switched.
    bool InitAfterControls = false;
    // The port is opened for the closing writes if it is not open.
    bool OpenBeforeClose = false;
    // The fourth byte of the last initialisation write is the low 8 bits of
    // the "FRG100 Delay" setting.
    bool InitTakesDelay = false;
    // Tuning command.
    TFrequencyFamily Frequency = TFrequencyFamily::None;
    const char *TextHead = "";
    std::size_t TextWidth = 0;
    const char *TextTail = "";
    // Receiver controls: what a connect and a disconnect switch, and the
    // commands the controls send.
    TModelControls (*ConnectControls)() = NoControls;
    TModelControls (*DisconnectControls)() = NoControls;
    TControlFamily Controls = TControlFamily::None;
    int Filters = 0; // filters the filter list commands
    TLevelKind Level = TLevelKind::None;
    // Quirks.
    const char *TunedByInit = nullptr;  // the frequency the initialisation tunes to
    bool TuneWhileSwitching = false;    // tuned between the common and the model's controls
    bool Calibrated = false;            // the level goes through "FRG100.cal"
    const char *KeepAlive = nullptr;    // sent every 5 s while connected
};

// The catalogue row of a model number, or nullptr for a number it does not have.
const TReceiverEntry *FindReceiverModel(int model);

// The rows in the order of the receiver list.
int ReceiverListCount();
const TReceiverEntry &ReceiverAtListIndex(int listIndex);
// The list index of a model number, -1 when the catalogue does not have it.
int ListIndexOfModel(int model);

// The speed a serial model runs at with the given "ICOM Baudrate" setting.
TBaudRate BaudRateOf(const TReceiverEntry &entry, int icomBaudrateSetting);

// Sets the row's line settings on the port; settings the row does not name
// keep their last value (so handshake mode persists after an FRG100 or TS-850).
void ApplyModelLineSettings(TComPort &port, const TReceiverEntry &entry, int icomBaudrateSetting);

} // namespace drmq
