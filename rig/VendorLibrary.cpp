#include "rig/VendorLibrary.h"

#include <dlfcn.h>

namespace drmq {

namespace {
// The entry signatures, as the stand-ins and the makers' libraries export them.
using TOpenRadio = std::int32_t (*)(std::int32_t);
using TRadioSet = std::int32_t (*)(std::int32_t, std::int32_t);
using TRadioSetFrequency = std::int32_t (*)(std::int32_t, std::uint32_t);
using TRadioGetFrequency = std::uint32_t (*)(std::int32_t);
using TRadioClose = std::int32_t (*)(std::int32_t);
using TFrontendCall = std::int32_t (*)();
using TFrontendSetFrequency = std::int16_t (*)(double);
using TFrontendSet = std::int32_t (*)(std::int32_t);
using TFrontendGetLevel = std::int32_t (*)();
using TFrontendGetLIF = double (*)();

// Calls the entry when it exists; a missing entry reads 0.
template <typename Fn, typename... Args>
auto Call(void *entry, Args... args) {
    using Result = decltype(reinterpret_cast<Fn>(entry)(args...));
    if (!entry) return Result{};
    return reinterpret_cast<Fn>(entry)(args...);
}
} // namespace

TVendorLibrary::~TVendorLibrary() { Release(); }

bool TVendorLibrary::Load(const std::vector<std::string> &folders, const std::string &fileName) {
    Release();
    for (const std::string &folder : folders) {
        handle_ = dlopen((folder + fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_) return true;
    }
    handle_ = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void TVendorLibrary::Release() {
    if (handle_) dlclose(handle_);
    handle_ = nullptr;
}

void *TVendorLibrary::Entry(const char *name) const {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

std::int32_t TVendorLibrary::OpenRadioDevice() { return Call<TOpenRadio>(Entry("OpenRadioDevice"), 0); }
void TVendorLibrary::SetPower(std::int32_t radio, std::int32_t on) { Call<TRadioSet>(Entry("SetPower"), radio, on); }
void TVendorLibrary::SetAtten(std::int32_t radio, std::int32_t atten) {
    Call<TRadioSet>(Entry("SetAtten"), radio, atten);
}
void TVendorLibrary::SetAGC(std::int32_t radio, std::int32_t agc) { Call<TRadioSet>(Entry("SetAGC"), radio, agc); }
void TVendorLibrary::SetFrequency(std::int32_t radio, std::uint32_t hz) {
    Call<TRadioSetFrequency>(Entry("SetFrequency"), radio, hz);
}
std::uint32_t TVendorLibrary::GetFrequency(std::int32_t radio) {
    return Call<TRadioGetFrequency>(Entry("GetFrequency"), radio);
}
void TVendorLibrary::CloseRadioDevice(std::int32_t radio) { Call<TRadioClose>(Entry("CloseRadioDevice"), radio); }

void TVendorLibrary::FrontendOpen() { Call<TFrontendCall>(Entry("FrontendOpen")); }
void TVendorLibrary::FrontendClose() { Call<TFrontendCall>(Entry("FrontendClose")); }
void TVendorLibrary::FrontendSetFrequency(double hz) {
    Call<TFrontendSetFrequency>(Entry("FrontendSetFrequency"), hz);
}
void TVendorLibrary::FrontendSetMode(std::int32_t mode) { Call<TFrontendSet>(Entry("FrontendSetMode"), mode); }
void TVendorLibrary::FrontendSetAntennaMode(std::int32_t antenna) {
    Call<TFrontendSet>(Entry("FrontendSetAntennaMode"), antenna);
}
void TVendorLibrary::FrontendSetRfAttenuator(std::int32_t attenuator) {
    Call<TFrontendSet>(Entry("FrontendSetRfAttenuator"), attenuator);
}
std::int16_t TVendorLibrary::FrontendGetRfLevel() {
    return static_cast<std::int16_t>(Call<TFrontendGetLevel>(Entry("FrontendGetRfLevel")) & 0xFFFF);
}
double TVendorLibrary::FrontendGetLIF() { return Call<TFrontendGetLIF>(Entry("FrontendGetLIF")); }

} // namespace drmq
