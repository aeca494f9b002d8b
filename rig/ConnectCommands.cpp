#include "rig/ConnectCommands.h"

#include "rig/ReceiverModel.h"
#include "rig/Replies.h"

namespace drmq {

namespace {
using namespace std::string_literals;

// The FT847's own CAT-off command. The FRG8800 form (81 81 81 80 00) reads on
// the FT847 as "CAT on" and would leave the transceiver locked.
const std::string kFT847CatOff = "\x00\x00\x00\x00\x80"s;
const std::string kFRG8800CatOff = "\x81\x81\x81\x80\x00"s;
const std::string kNrdLocal = "H0\r";

std::vector<std::string> SingleBytes(const std::string &bytes) {
    std::vector<std::string> writes;
    for (char c : bytes) writes.emplace_back(1, c);
    return writes;
}
} // namespace

TSerialProcedure SerialProcedure(int model, int frg100Delay) {
    TSerialProcedure p;
    switch (model) {
    case rmAOR7030:
        p.Init = {"\x81"};
        p.Close = {"\x80"};
        p.OpenBeforeClose = true;
        break;
    case rmFRG100:
        p.Init = {"\x20\x01\xF7\x01\x20"s, "\x00\x00\x00"s + static_cast<char>(frg100Delay & 0xFF) + "\x0E"};
        break;
    case rmFRG8800:
        p.Init = {"\x81\x81\x81\x00\x00"s};
        p.Close = {kFRG8800CatOff};
        break;
    case rmFT847:
        p.Init = {"\x81\x81\x81\x00\x00"s, "\x04\x81\x81\x00\x07"s};
        p.Close = {kFT847CatOff};
        break;
    case rmRX320D:
        p.Init = {"C\x00\r"s, "G1\r", "W\x00\r"s};
        break;
    case rmPCR1000:
        p.Init = {kPcr1000KeepAlive, "G300\r\n", "J4000\r\n", "J4501\r\n", "J4700\r\n", "K00006095000020200\r\n"};
        p.Close = {"H100\r\n"};
        break;
    case rmE1800:
        p.Init = {"\n", "00F06095K0,DA3E,B10K0", "\r"};
        p.InitAfterControls = true;
        break;
    case rmNRD545:
    case rmNRD535:
    case rmNRD525:
        p.Init = {"H1\r", "D4\r"};
        p.InitAfterControls = true;
        p.Close = {kNrdLocal};
        break;
    default: // ICOM CI-V, TS-850: nothing beyond opening the port
        break;
    }
    return p;
}

std::vector<std::string> IdleWrites(int model) {
    switch (model) {
    case rmAOR7030: return {"\x80"};
    case rmFRG8800: return SingleBytes(kFRG8800CatOff);
    case rmFT847: return SingleBytes(kFT847CatOff);
    case rmNRD545: return {"H0", "\r"};
    default: return {};
    }
}

} // namespace drmq
