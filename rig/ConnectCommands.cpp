#include "rig/ConnectCommands.h"

#include "rig/ReceiverModel.h"

namespace drmq {

TSerialProcedure SerialProcedure(int model, int frg100Delay) {
    TSerialProcedure p;
    const TReceiverEntry *entry = FindReceiverModel(model);
    if (!entry || entry->Link != TLinkKind::SerialPort) return p;
    p.Init = entry->Init;
    if (entry->InitTakesDelay && !p.Init.empty()) p.Init.back().at(3) = static_cast<char>(frg100Delay & 0xFF);
    p.InitAfterControls = entry->InitAfterControls;
    p.Close = entry->Close;
    p.OpenBeforeClose = entry->OpenBeforeClose;
    return p;
}

std::vector<std::string> IdleWrites(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    return entry ? entry->Idle : std::vector<std::string>{};
}

} // namespace drmq
