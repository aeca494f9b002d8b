// Stand-in for the receiver makers' libraries: exports their entry points with
// C linkage and appends one line per call to the file named by the
// environment variable DRMQ_FAKE_VENDOR_LOG ("<library> <entry> <arguments>").
// DRMQ_FAKE_RADIO_HANDLE sets what OpenRadioDevice returns (default 7);
// DRMQ_FAKE_RF_LEVEL and DRMQ_FAKE_LIF what the DWT level entries return.
// While the file named by DRMQ_FAKE_HOLD exists every call hangs, as a
// library waiting on its device does (for at most 20 s after the first call).
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {
std::uint32_t g_frequency = 0;

void HoldWhileAsked() {
    const char *hold = std::getenv("DRMQ_FAKE_HOLD");
    static const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (hold && access(hold, F_OK) == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void Record(const std::string &line) {
    HoldWhileAsked();
    const char *path = std::getenv("DRMQ_FAKE_VENDOR_LOG");
    if (!path) return;
    if (FILE *f = std::fopen(path, "a")) {
        std::fprintf(f, "%s %s\n", FAKE_VENDOR_NAME, line.c_str());
        std::fclose(f);
    }
}

long EnvNumber(const char *name, long fallback) {
    const char *text = std::getenv(name);
    return text ? std::strtol(text, nullptr, 10) : fallback;
}

std::string Args(std::int64_t a) { return std::to_string(a); }
std::string Args(std::int64_t a, std::int64_t b) { return std::to_string(a) + " " + std::to_string(b); }
} // namespace

extern "C" {
__attribute__((visibility("default"))) std::int32_t OpenRadioDevice(std::int32_t id) {
    Record("OpenRadioDevice " + Args(id));
    return static_cast<std::int32_t>(EnvNumber("DRMQ_FAKE_RADIO_HANDLE", 7));
}
__attribute__((visibility("default"))) std::int32_t SetPower(std::int32_t h, std::int32_t on) {
    Record("SetPower " + Args(h, on));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t SetAtten(std::int32_t h, std::int32_t atten) {
    Record("SetAtten " + Args(h, atten));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t SetAGC(std::int32_t h, std::int32_t agc) {
    Record("SetAGC " + Args(h, agc));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t SetFrequency(std::int32_t h, std::uint32_t hz) {
    Record("SetFrequency " + Args(h, hz));
    // The receiver lands on its own 10 Hz grid, so the read-back differs.
    g_frequency = hz + 999;
    return 1;
}
__attribute__((visibility("default"))) std::uint32_t GetFrequency(std::int32_t h) {
    Record("GetFrequency " + Args(h));
    return g_frequency;
}
__attribute__((visibility("default"))) std::int32_t CloseRadioDevice(std::int32_t h) {
    Record("CloseRadioDevice " + Args(h));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t G3BlockScan(std::int32_t h) {
    Record("G3BlockScan " + Args(h));
    return 0;
}
__attribute__((visibility("default"))) std::int32_t G3StopBlockScan(std::int32_t h) {
    Record("G3StopBlockScan " + Args(h));
    return 0;
}

__attribute__((visibility("default"))) std::int32_t FrontendOpen() {
    Record("FrontendOpen");
    return 1;
}
__attribute__((visibility("default"))) std::int32_t FrontendClose() {
    Record("FrontendClose");
    return 1;
}
__attribute__((visibility("default"))) std::int16_t FrontendSetFrequency(double hz) {
    Record("FrontendSetFrequency " + Args(static_cast<std::int64_t>(hz)));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t FrontendSetMode(std::int32_t mode) {
    Record("FrontendSetMode " + Args(mode));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t FrontendSetAntennaMode(std::int32_t antenna) {
    Record("FrontendSetAntennaMode " + Args(antenna));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t FrontendSetRfAttenuator(std::int32_t attenuator) {
    Record("FrontendSetRfAttenuator " + Args(attenuator));
    return 1;
}
__attribute__((visibility("default"))) std::int32_t FrontendGetRfLevel() {
    Record("FrontendGetRfLevel");
    return static_cast<std::int32_t>(EnvNumber("DRMQ_FAKE_RF_LEVEL", 0));
}
__attribute__((visibility("default"))) double FrontendGetLIF() {
    Record("FrontendGetLIF");
    return static_cast<double>(EnvNumber("DRMQ_FAKE_LIF", 0));
}
}
