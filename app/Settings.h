// TSettings: the settings that no control of the main window holds, with
// their defaults; filled at start-up and written back at shutdown. UI thread.
#pragma once

#include "rig/HamlibRig.h"
#include "schedule/Colors.h"

#include <array>
#include <cstdint>
#include <string>

namespace drmq {

struct TSettings {
    std::string FT847Offset = "00";
    std::int32_t AOR7030Offset = 0;
    std::int16_t FilterIndex = 1;
    std::uint8_t ICOMBaudrate = 2;
    std::int16_t AttenuationIndex = 1;
    std::int32_t FRG100Delay = 0;
    std::string AntennaCorrection = "0.0";
    std::int32_t ElektorDelay = 4000;
    std::int32_t DRT1Delay = 4000;
    std::string ICOMRigAddress = "$00";
    // Colour values with red in the low byte.
    TScheduleColors Colors{};
    // The rig the "Hamlib" receiver drives.
    THamlibSettings Hamlib;
    // Where the "Share" box serves the receiver; loopback only unless the
    // user writes another address.
    int SharePort = 4532;
    std::string ShareAddress = "127.0.0.1";
};

} // namespace drmq
