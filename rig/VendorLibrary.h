// TVendorLibrary: the receiver maker's run-time library of a library model
// (WiNRADiO or the DWT front end), loaded by file name. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drmq {

// At most one library is loaded at a time. Every entry is resolved by name
// with C linkage; an entry whose library is not loaded, or whose name was not
// found, does nothing and reads 0.
//
// WiNRADiO entries (libwrg3api.so, libwrg3130api.so), h is the radio handle:
//   OpenRadioDevice(0) -> h (0 = failure), SetPower(h, -1), SetAtten(h, 0),
//   SetAGC(h, 1), SetFrequency(h, hz), GetFrequency(h) -> hz, CloseRadioDevice(h);
//   G3BlockScan and G3StopBlockScan are resolved but never called.
// DWT front-end entries (libafgusbfe.so):
//   FrontendOpen(), FrontendClose(), FrontendSetFrequency(double hz),
//   FrontendSetMode(1 DRM / 2 AM / 6 FM), FrontendSetAntennaMode(0 Loop / 1 Wire),
//   FrontendSetRfAttenuator(0 DX / 1 Local),
//   FrontendGetRfLevel() -> level in dBuV (low 16 bits, signed),
//   FrontendGetLIF() -> the figure shown after "LIF:".
class TVendorLibrary {
public:
    TVendorLibrary() = default;
    ~TVendorLibrary();
    TVendorLibrary(const TVendorLibrary &) = delete;
    TVendorLibrary &operator=(const TVendorLibrary &) = delete;

    // Loads fileName from the first of the folders (each ending in '/') that
    // has it, else from the system's library path; a library loaded before is
    // released first. True when loaded.
    bool Load(const std::vector<std::string> &folders, const std::string &fileName);
    // Releases the library; its entries do nothing afterwards.
    void Release();
    bool Loaded() const { return handle_ != nullptr; }

    std::int32_t OpenRadioDevice();
    void SetPower(std::int32_t radio, std::int32_t on);
    void SetAtten(std::int32_t radio, std::int32_t atten);
    void SetAGC(std::int32_t radio, std::int32_t agc);
    void SetFrequency(std::int32_t radio, std::uint32_t hz);
    std::uint32_t GetFrequency(std::int32_t radio);
    void CloseRadioDevice(std::int32_t radio);

    void FrontendOpen();
    void FrontendClose();
    void FrontendSetFrequency(double hz);
    void FrontendSetMode(std::int32_t mode);
    void FrontendSetAntennaMode(std::int32_t antenna);
    void FrontendSetRfAttenuator(std::int32_t attenuator);
    std::int16_t FrontendGetRfLevel();
    double FrontendGetLIF();

private:
    void *Entry(const char *name) const;

    void *handle_ = nullptr;
};

} // namespace drmq
