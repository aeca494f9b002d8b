#include "rig/ReceiverModel.h"

namespace drmq {

namespace {
using L = TLinkKind;
using X = TExtraLines;

// clang-format off
const TReceiverEntry kCatalogue[kReceiverModelCount] = {
    {rmAOR7030, "AOR7030",   L::SerialPort,      br1200,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmFRG100,  "FRG100",    L::SerialPort,      br4800,  sbTwoStopBits, X::Handshake,            false, nullptr, nullptr},
    {rmFRG8800, "FRG8800",   L::SerialPort,      br4800,  sbTwoStopBits, X::None,                 false, nullptr, nullptr},
    {rmFT847,   "FT847",     L::SerialPort,      br4800,  sbTwoStopBits, X::None,                 false, nullptr, nullptr},
    {rmRX320D,  "RX320D",    L::SerialPort,      br1200,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmWRG303,  "WRG303",    L::RadioLibrary,    br9600,  sbOneStopBit,  X::None,                 false, "libwrg3api.so", "WRG3API.DLL not found !"},
    {rmPCR1000, "PCR1000",   L::SerialPort,      br9600,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmElektor, "Elektor",   L::LinesHeld,       br9600,  sbOneStopBit,  X::AllLinesOffAfterOpen, false, nullptr, nullptr},
    {rmE1800,   "E1800",     L::SerialPort,      br19200, sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmNRD545,  "NRD545",    L::SerialPort,      br4800,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmDWT,     "DWT",       L::FrontendLibrary, br9600,  sbOneStopBit,  X::None,                 false, "libafgusbfe.so", "afgusbfe.dll not found !"},
    {rmDRT1,    "DRT1",      L::LinesPerCommand, br9600,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmWRG313,  "WRG313",    L::RadioLibrary,    br9600,  sbOneStopBit,  X::None,                 false, "libwrg3130api.so", "WRG3130API.DLL not found !"},
    {rmICOM,    "ICOM CI-V", L::SerialPort,      br19200, sbOneStopBit,  X::DtrOnAfterOpen,       true,  nullptr, nullptr},
    {rmNRD535,  "NRD535",    L::SerialPort,      br4800,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmDWTCT,   "DWT CT",    L::FrontendLibrary, br9600,  sbOneStopBit,  X::None,                 false, "libafgusbfe.so", "afgusbfe.dll not found !"},
    {rmNRD525,  "NRD525",    L::SerialPort,      br1200,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
    {rmTS850,   "TS-850",    L::SerialPort,      br4800,  sbTwoStopBits, X::Handshake,            false, nullptr, nullptr},
    {rmHamlib,  "Hamlib",    L::HamlibRig,       br9600,  sbOneStopBit,  X::None,                 false, nullptr, nullptr},
};
// clang-format on
} // namespace

const TReceiverEntry *FindReceiverModel(int index) {
    if (index < 0 || index >= kReceiverModelCount) return nullptr;
    return &kCatalogue[index];
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
