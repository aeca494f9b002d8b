#include "rig/ReceiverModel.h"

#include "rig/Replies.h"

#include <array>

namespace drmq {

namespace {
using namespace std::string_literals;
using L = TLinkKind;
using X = TExtraLines;
using F = TFrequencyFamily;
using C = TControlFamily;
using V = TLevelKind;
namespace cs = control_sets;

const char *const kTunedTo6095 = "6095";
const std::vector<std::string> kNrdInit = {"H1\r", "D4\r"};
const std::vector<std::string> kNrdLocal = {"H0\r"};

// One row per model, in the order of the receiver list. A new model gets the
// next free number and its row where it belongs in the list.
const std::array<TReceiverEntry, kReceiverModelCount> &Catalogue() {
    static const std::array<TReceiverEntry, kReceiverModelCount> rows = {{
        {.Index = rmAOR7030, .ListText = "AOR7030", .Link = L::SerialPort, .Baud = br1200,
         .Init = {"\x81"}, .Close = {"\x80"}, .Idle = {"\x80"}, .OpenBeforeClose = true,
         .Frequency = F::Aor7030, .ConnectControls = cs::Aor7030Connect,
         .DisconnectControls = cs::LevelReceiverDisconnect, .Controls = C::Aor7030, .Filters = 6,
         .Level = V::Aor7030},
        {.Index = rmFRG100, .ListText = "FRG100", .Link = L::SerialPort, .Baud = br4800, .Stop = sbTwoStopBits,
         .Extra = X::Handshake, .Init = {"\x20\x01\xF7\x01\x20"s, "\x00\x00\x00\x00\x0E"s}, .InitTakesDelay = true,
         .Frequency = F::Frg100, .ConnectControls = cs::Frg100Connect, .DisconnectControls = cs::Frg100Disconnect,
         .Level = V::Frg100, .Calibrated = true},
        {.Index = rmFRG8800, .ListText = "FRG8800", .Link = L::SerialPort, .Baud = br4800, .Stop = sbTwoStopBits,
         .Init = {"\x81\x81\x81\x00\x00"s}, .Close = {"\x81\x81\x81\x80\x00"s},
         .Idle = {"\x81", "\x81", "\x81", "\x80", "\x00"s}, .Frequency = F::Frg8800,
         .ConnectControls = cs::AllDisabled, .DisconnectControls = cs::AllDisabled},
        // The FT847's own CAT-off command. The FRG8800 form (81 81 81 80 00)
        // reads on the FT847 as "CAT on" and would leave the transceiver locked.
        {.Index = rmFT847, .ListText = "FT847", .Link = L::SerialPort, .Baud = br4800, .Stop = sbTwoStopBits,
         .Init = {"\x81\x81\x81\x00\x00"s, "\x04\x81\x81\x00\x07"s}, .Close = {"\x00\x00\x00\x00\x80"s},
         .Idle = {"\x00"s, "\x00"s, "\x00"s, "\x00"s, "\x80"}, .Frequency = F::Ft847,
         .ConnectControls = cs::AllDisabled, .DisconnectControls = cs::AllDisabled},
        {.Index = rmRX320D, .ListText = "RX320D", .Link = L::SerialPort, .Baud = br1200,
         .Init = {"C\x00\r"s, "G1\r", "W\x00\r"s}, .Frequency = F::Rx320d, .ConnectControls = cs::Rx320dConnect,
         .DisconnectControls = cs::AllDisabled, .Controls = C::Rx320d},
        {.Index = rmWRG303, .ListText = "WRG303", .Link = L::RadioLibrary, .LibraryFile = "libwrg3api.so",
         .LibraryMissingText = "WRG3API.DLL not found !", .Frequency = F::Hz, .ConnectControls = cs::AllDisabled,
         .DisconnectControls = cs::Wrg303Disconnect},
        {.Index = rmPCR1000, .ListText = "PCR1000", .Link = L::SerialPort,
         .Init = {kPcr1000KeepAlive, "G300\r\n", "J4000\r\n", "J4501\r\n", "J4700\r\n", "K00006095000020200\r\n"},
         .Close = {"H100\r\n"}, .Frequency = F::Text, .TextHead = "K0", .TextWidth = 7, .TextTail = "000020200\r\n",
         .ConnectControls = cs::Pcr1000Connect, .DisconnectControls = cs::Pcr1000Disconnect,
         .Controls = C::Pcr1000, .TunedByInit = kTunedTo6095, .KeepAlive = kPcr1000KeepAlive},
        {.Index = rmElektor, .ListText = "Elektor", .Link = L::LinesHeld, .Extra = X::AllLinesOffAfterOpen,
         .Frequency = F::Hz, .ConnectControls = cs::ElektorConnect, .DisconnectControls = cs::ElektorDisconnect},
        {.Index = rmE1800, .ListText = "E1800", .Link = L::SerialPort, .Baud = br19200,
         .Init = {"\n", "00F06095K0,DA3E,B10K0", "\r"}, .InitAfterControls = true, .Frequency = F::Text,
         .TextHead = "\n00F", .TextWidth = 5, .TextTail = "K0\r", .TunedByInit = kTunedTo6095},
        {.Index = rmNRD545, .ListText = "NRD545", .Link = L::SerialPort, .Baud = br4800, .Init = kNrdInit,
         .Close = kNrdLocal, .Idle = {"H0", "\r"}, .InitAfterControls = true, .Frequency = F::Text,
         .TextHead = "F", .TextWidth = 7, .TextTail = "000\r", .ConnectControls = cs::Nrd545Connect,
         .DisconnectControls = cs::StoredListsDisconnect, .Controls = C::Nrd545, .Filters = 3},
        {.Index = rmDWT, .ListText = "DWT", .Link = L::FrontendLibrary, .LibraryFile = "libafgusbfe.so",
         .LibraryMissingText = "afgusbfe.dll not found !", .Frequency = F::Hz, .ConnectControls = cs::DwtConnect,
         .DisconnectControls = cs::DwtDisconnect, .Level = V::Dwt},
        {.Index = rmDRT1, .ListText = "DRT1", .Link = L::LinesPerCommand, .Frequency = F::Hz,
         .ConnectControls = cs::Drt1Connect, .DisconnectControls = cs::Drt1Disconnect},
        {.Index = rmWRG313, .ListText = "WRG313", .Link = L::RadioLibrary, .LibraryFile = "libwrg3130api.so",
         .LibraryMissingText = "WRG3130API.DLL not found !", .Frequency = F::Hz,
         .ConnectControls = cs::AllDisabled, .DisconnectControls = cs::AllDisabled},
        // Tuned once the tuning controls are enabled and before its attenuator list is filled.
        {.Index = rmICOM, .ListText = "ICOM CI-V", .Link = L::SerialPort, .Baud = br19200,
         .Extra = X::DtrOnAfterOpen, .BaudFromIcomSetting = true, .Frequency = F::Icom,
         .ConnectControls = cs::IcomConnect, .DisconnectControls = cs::StoredListsDisconnect, .Controls = C::Icom,
         .TuneWhileSwitching = true},
        {.Index = rmNRD535, .ListText = "NRD535", .Link = L::SerialPort, .Baud = br4800, .Init = kNrdInit,
         .Close = kNrdLocal, .InitAfterControls = true, .Frequency = F::Text, .TextHead = "F", .TextWidth = 5,
         .TextTail = "000\r", .ConnectControls = cs::Nrd535Connect, .DisconnectControls = cs::StoredListsDisconnect,
         .Controls = C::Nrd, .Filters = 3},
        {.Index = rmDWTCT, .ListText = "DWT CT", .Link = L::FrontendLibrary, .LibraryFile = "libafgusbfe.so",
         .LibraryMissingText = "afgusbfe.dll not found !", .Frequency = F::Hz, .ConnectControls = cs::DwtCtConnect,
         .DisconnectControls = cs::DwtDisconnect},
        {.Index = rmNRD525, .ListText = "NRD525", .Link = L::SerialPort, .Baud = br1200, .Init = kNrdInit,
         .Close = kNrdLocal, .InitAfterControls = true, .Frequency = F::Text, .TextHead = "F", .TextWidth = 6,
         .TextTail = "00\r", .ConnectControls = cs::Nrd525Connect, .DisconnectControls = cs::StoredListsDisconnect,
         .Controls = C::Nrd, .Filters = 4},
        {.Index = rmTS850, .ListText = "TS-850", .Link = L::SerialPort, .Baud = br4800, .Stop = sbTwoStopBits,
         .Extra = X::Handshake, .Frequency = F::Text, .TextHead = "FA", .TextWidth = 8, .TextTail = "000;",
         .ConnectControls = cs::Ts850Connect, .DisconnectControls = cs::Ts850Disconnect, .Level = V::Ts850},
        // The rest of its controls follow once the rig has said what it offers.
        {.Index = rmHamlib, .ListText = "Hamlib", .Link = L::HamlibRig, .Frequency = F::Hz,
         .ConnectControls = cs::AllDisabled, .DisconnectControls = cs::LevelReceiverDisconnect,
         .Level = V::Hamlib},
    }};
    return rows;
}
} // namespace

const TReceiverEntry *FindReceiverModel(int model) {
    for (const TReceiverEntry &entry : Catalogue())
        if (entry.Index == model) return &entry;
    return nullptr;
}

int ReceiverListCount() {
    return static_cast<int>(Catalogue().size());
}

const TReceiverEntry &ReceiverAtListIndex(int listIndex) {
    return Catalogue().at(static_cast<size_t>(listIndex));
}

int ListIndexOfModel(int model) {
    for (int i = 0; i < ReceiverListCount(); ++i)
        if (Catalogue()[static_cast<size_t>(i)].Index == model) return i;
    return -1;
}

TBaudRate BaudRateOf(const TReceiverEntry &entry, int icomBaudrateSetting) {
    if (entry.BaudFromIcomSetting) return icomBaudrateSetting == 1 ? br1200 : br19200;
    return entry.Baud;
}

void ApplyModelLineSettings(TComPort &port, const TReceiverEntry &entry, int icomBaudrateSetting) {
    port.SetBaudRate(BaudRateOf(entry, icomBaudrateSetting));
    port.SetStopBits(entry.Stop);
    if (entry.Extra == TExtraLines::Handshake) {
        port.SetDataBits(dbEight);
        port.SetParityCheck(false);
        port.SetDiscardNull(false);
        port.SetControlDTR(dtrHandshake);
        port.SetControlRTS(rtsHandshake);
    }
}

} // namespace drmq
