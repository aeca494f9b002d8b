#include "receiver/LibraryLink.h"

#include "core/RunErrors.h"
#include "logging/SignalLevel.h"
#include "rig/VendorLibrary.h"
#include "tuning/ControlCommands.h"

namespace drmq {

namespace {
const char *const kWinRadioWarning = "Be sure that the WiNRADiO application is not running anymore!";
} // namespace

TLibraryLink::TLibraryLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings)
    : model_(model), host_(host), parts_(std::move(parts)), settings_(std::move(settings)) {}

void TLibraryLink::Open() {
    TVendorLibrary &library = parts_.Library;
    if (WinRadio()) host_.ShowMessage(kWinRadioWarning);
    radio_ = 0;
    if (!library.Load(parts_.LibraryFolders, model_.LibraryFile)) {
        host_.ShowMessage(model_.LibraryMissingText);
    } else if (WinRadio()) {
        radio_ = library.OpenRadioDevice();
        if (radio_ != 0) {
            library.SetPower(radio_, -1);
            library.SetAtten(radio_, 0);
            library.SetAGC(radio_, 1);
            const std::int64_t khz = StrToInt(host_.ControlValues().FrequencyText);
            library.SetFrequency(radio_, static_cast<std::uint32_t>(khz * 1000));
            host_.ShowFrequency(QString::number(library.GetFrequency(radio_) / 1000));
        }
    } else {
        const TControlValues values = host_.ControlValues();
        library.FrontendOpen();
        library.FrontendSetAntennaMode(values.AntennaIndex);
        library.FrontendSetRfAttenuator(values.RfAttenuatorIndex);
        host_.Retune();
    }
    host_.SwitchControlsOnConnect({});
}

void TLibraryLink::Close() {
    TVendorLibrary &library = parts_.Library;
    if (WinRadio()) {
        if (radio_ != 0) library.CloseRadioDevice(radio_);
        library.Release();
        radio_ = 0;
    } else {
        library.FrontendClose();
        library.Release();
    }
}

void TLibraryLink::Tune(const TFrequencyCommand &command) {
    if (WinRadio()) {
        if (radio_ != 0) parts_.Library.SetFrequency(radio_, static_cast<std::uint32_t>(command.Hz));
    } else {
        parts_.Library.FrontendSetFrequency(static_cast<double>(command.Hz));
    }
}

bool TLibraryLink::FrontendLoaded() const {
    return !WinRadio() && parts_.Library.Loaded();
}

void TLibraryLink::SetDwtMode(int itemIndex) {
    const std::optional<int> mode = DwtModeArgument(itemIndex);
    if (mode && FrontendLoaded()) parts_.Library.FrontendSetMode(*mode);
}

void TLibraryLink::SetAntenna(int itemIndex) {
    const std::optional<int> antenna = DwtSwitchArgument(itemIndex);
    if (antenna && FrontendLoaded()) parts_.Library.FrontendSetAntennaMode(*antenna);
}

void TLibraryLink::SetRfAttenuator(int itemIndex) {
    const std::optional<int> attenuator = DwtSwitchArgument(itemIndex);
    if (attenuator && FrontendLoaded()) parts_.Library.FrontendSetRfAttenuator(*attenuator);
}

void TLibraryLink::RequestLevel() {
    // The front end reports a level only in "DRM" mode.
    if (model_.Level != TLevelKind::Dwt || host_.ControlValues().DwtModeIndex != 0) return;
    const double lif = parts_.Library.FrontendGetLIF();
    const std::int16_t level = DwtLevel(parts_.Library.FrontendGetRfLevel(), settings_.AntennaCorrection);
    host_.ShowLevel({static_cast<double>(level), QString::number(level), "LIF:" + ShortestDecimalText(lif)});
}

} // namespace drmq
