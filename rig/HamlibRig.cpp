#include "rig/HamlibRig.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace drmq {

namespace {
// Hamlib reports details (which port, which host, why) only to its debug
// output; the errors among them are kept to explain a failed call.
std::mutex logMutex;
std::string firstLoggedError;

int CollectErrors(enum rig_debug_level_e, rig_ptr_t, const char *format, va_list args) {
    char line[512];
    std::vsnprintf(line, sizeof line, format, args);
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    std::lock_guard<std::mutex> lock(logMutex);
    if (firstLoggedError.empty()) firstLoggedError = text;
    return 0;
}

} // namespace

void QuietHamlib() {
    static std::once_flag once;
    std::call_once(once, [] {
        rig_set_debug(RIG_DEBUG_ERR);
        rig_set_debug_callback(CollectErrors, nullptr);
    });
}

namespace {
void ForgetLoggedError() {
    std::lock_guard<std::mutex> lock(logMutex);
    firstLoggedError.clear();
}

THamlibResult Result(int code) {
    THamlibResult result;
    result.Code = code;
    if (code == RIG_OK) return result;
    std::string text = rigerror2(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    std::lock_guard<std::mutex> lock(logMutex);
    if (!firstLoggedError.empty()) text += " (" + firstLoggedError + ")";
    result.Text = "Hamlib: " + text;
    return result;
}

// A failure found before Hamlib was asked, told in the program's words.
THamlibResult Refusal(int code, const std::string &text) {
    THamlibResult result;
    result.Code = code;
    result.Text = text;
    return result;
}

void SetConf(RIG *rig, const char *name, const std::string &value) {
    const token_t token = rig_token_lookup(rig, name);
    if (token != RIG_CONF_END) rig_set_conf(rig, token, value.c_str());
}

// A network client gives up on a silent server after this long, so a frozen
// server counts as lost within seconds rather than after Hamlib's minute
// of time-outs and retries.
constexpr const char *kNetworkTimeoutMs = "2000";
constexpr const char *kNetworkRetries = "0";
} // namespace

bool THamlibResult::LinkFailure() const {
    const int code = Code < 0 ? -Code : Code;
    return code == RIG_ETIMEOUT || code == RIG_EIO || code == RIG_EPROTO || code == RIG_EPOWER;
}

THamlibRig::THamlibRig() {
    QuietHamlib();
}

THamlibRig::~THamlibRig() {
    Close();
}

THamlibResult THamlibRig::Open(const THamlibSettings &settings) {
    Close();
    ForgetLoggedError();
    RIG *rig = rig_init(static_cast<rig_model_t>(settings.Model));
    if (!rig) return Refusal(-RIG_ECONF, "Hamlib has no rig model " + std::to_string(settings.Model));
    SetConf(rig, "rig_pathname", settings.Port);
    if (settings.Speed > 0) SetConf(rig, "serial_speed", std::to_string(settings.Speed));
    if (rig->caps->port_type == RIG_PORT_NETWORK) {
        SetConf(rig, "timeout", kNetworkTimeoutMs);
        SetConf(rig, "retry", kNetworkRetries);
    }
    const int code = rig_open(rig);
    if (code != RIG_OK) {
        const THamlibResult result = Result(code);
        rig_cleanup(rig);
        return result;
    }
    rig_ = rig;
    return {};
}

void THamlibRig::Close() {
    if (!rig_) return;
    rig_close(rig_);
    rig_cleanup(rig_);
    rig_ = nullptr;
}

THamlibCaps THamlibRig::Capabilities() {
    THamlibCaps caps;
    if (!rig_) return caps;
    const rig_state &state = rig_->state;
    const bool canSetAtt = rig_has_set_level(rig_, RIG_LEVEL_ATT) != 0;
    for (int i = 0; canSetAtt && i < HAMLIB_MAXDBLSTSIZ && state.attenuator[i] != 0; ++i)
        caps.AttenuatorSteps.push_back(state.attenuator[i]);
    caps.AudioLevel = rig_has_set_level(rig_, RIG_LEVEL_AF) != 0;
    caps.Strength = rig_has_get_level(rig_, RIG_LEVEL_STRENGTH) != 0;
    caps.Passbands = rig_->caps->set_mode != nullptr;
    value_t value{};
    if (!caps.AttenuatorSteps.empty() && rig_has_get_level(rig_, RIG_LEVEL_ATT) &&
        rig_get_level(rig_, RIG_VFO_CURR, RIG_LEVEL_ATT, &value) == RIG_OK)
        caps.Attenuator = value.i;
    if (caps.AudioLevel && rig_has_get_level(rig_, RIG_LEVEL_AF) &&
        rig_get_level(rig_, RIG_VFO_CURR, RIG_LEVEL_AF, &value) == RIG_OK)
        caps.Audio = value.f;
    return caps;
}

long THamlibRig::PassbandOf(std::uint64_t mode, TPassband passband) const {
    switch (passband) {
    case TPassband::Narrow:
        return rig_passband_narrow(rig_, mode);
    case TPassband::Normal:
        return rig_passband_normal(rig_, mode);
    case TPassband::Wide: {
        pbwidth_t widest = 0;
        for (int i = 0; i < HAMLIB_FLTLSTSIZ && rig_->state.filters[i].modes != RIG_MODE_NONE; ++i)
            if (rig_->state.filters[i].modes & mode) widest = std::max(widest, rig_->state.filters[i].width);
        return widest > 0 ? widest : RIG_PASSBAND_NORMAL;
    }
    }
    return RIG_PASSBAND_NORMAL;
}

THamlibResult THamlibRig::SetMode(const std::string &mode, TPassband passband) {
    ForgetLoggedError();
    const rmode_t rmode = rig_parse_mode(mode.c_str());
    if (rmode == RIG_MODE_NONE) return Refusal(-RIG_EINVAL, "Hamlib does not know the mode \"" + mode + "\"");
    return Result(rig_set_mode(rig_, RIG_VFO_CURR, rmode, PassbandOf(rmode, passband)));
}

THamlibResult THamlibRig::SetFrequency(std::int64_t hz) {
    ForgetLoggedError();
    return Result(rig_set_freq(rig_, RIG_VFO_CURR, static_cast<freq_t>(hz)));
}

THamlibResult THamlibRig::SetAttenuator(int db) {
    ForgetLoggedError();
    value_t value{};
    value.i = db;
    return Result(rig_set_level(rig_, RIG_VFO_CURR, RIG_LEVEL_ATT, value));
}

THamlibResult THamlibRig::SetAudioLevel(float level) {
    ForgetLoggedError();
    value_t value{};
    value.f = level;
    return Result(rig_set_level(rig_, RIG_VFO_CURR, RIG_LEVEL_AF, value));
}

THamlibResult THamlibRig::ReadStrength(int &db) {
    ForgetLoggedError();
    value_t value{};
    const THamlibResult result = Result(rig_get_level(rig_, RIG_VFO_CURR, RIG_LEVEL_STRENGTH, &value));
    if (result.Ok()) db = value.i;
    return result;
}

} // namespace drmq
