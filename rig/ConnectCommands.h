// The bytes a serial receiver gets when it is connected, disconnected and
// idled at shutdown, per model. Pure functions, any thread.
#pragma once

#include <string>
#include <vector>

namespace drmq {

struct TSerialProcedure {
    // Initialisation writes, in order, each complete before the next.
    std::vector<std::string> Init;
    // E1800 and the NRD family get their initialisation after the controls are switched.
    bool InitAfterControls = false;
    // Closing writes before the port is closed.
    std::vector<std::string> Close;
    // The AOR7030 opens the port for its closing byte if it is not open.
    bool OpenBeforeClose = false;
};

// The procedure of a serial model (empty for the others); frg100Delay is the
// "FRG100 Delay" setting, whose low 8 bits go into the FRG100's second command.
TSerialProcedure SerialProcedure(int model, int frg100Delay);

// The writes that put the selected receiver into its idle state at shutdown.
std::vector<std::string> IdleWrites(int model);

} // namespace drmq
