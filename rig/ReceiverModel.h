// ReceiverModel: the catalogue of the 19 supported receivers, in the order of
// the receiver list, with each model's link and line settings. Pure data, any thread.
#pragma once

#include "rig/ComPort.h"

#include <string>

namespace drmq {

// The model number is the item index of the receiver list everywhere.
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

struct TReceiverEntry {
    ReceiverModel Index;
    const char *ListText;
    TLinkKind Link;
    TBaudRate Baud;          // serial models only
    TStopBits Stop;          // serial models only
    TExtraLines Extra;
    // The speed comes from the "ICOM Baudrate" setting: 1 selects 1200 baud.
    bool BaudFromIcomSetting;
    // Library models: the shared-library file and the message shown when it is missing.
    const char *LibraryFile;
    const char *LibraryMissingText;
};

// The catalogue row of a list index, or nullptr for an index outside 0..18.
const TReceiverEntry *FindReceiverModel(int index);

// The speed a serial model runs at with the given "ICOM Baudrate" setting.
TBaudRate BaudRateOf(const TReceiverEntry &entry, int icomBaudrateSetting);

// Sets the row's line settings on the port; settings the row does not name
// keep their last value (so handshake mode persists after an FRG100 or TS-850).
void ApplyModelLineSettings(TComPort &port, const TReceiverEntry &entry, int icomBaudrateSetting);

} // namespace drmq
