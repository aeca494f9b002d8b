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
    : model_(model), host_(host), parts_(std::move(parts)), settings_(std::move(settings)),
      calls_(parts_.PostToUi) {}

void TLibraryLink::Open() {
    if (WinRadio()) host_.ShowMessage(kWinRadioWarning);
    open_ = true;
    calls_.Run([this, values = host_.ControlValues()] {
        radio_ = 0;
        if (!parts_.Library.Load(parts_.LibraryFolders, model_.LibraryFile)) {
            calls_.ToUi([this] { host_.ShowMessage(model_.LibraryMissingText); });
        } else if (WinRadio()) {
            OpenRadio(values);
        } else {
            OpenFrontend(values);
        }
    });
    host_.SwitchControlsOnConnect({});
}

void TLibraryLink::OpenRadio(const TControlValues &values) {
    TVendorLibrary &library = parts_.Library;
    radio_ = library.OpenRadioDevice();
    if (radio_ == 0) return;
    library.SetPower(radio_, -1);
    library.SetAtten(radio_, 0);
    library.SetAGC(radio_, 1);
    const std::int64_t khz = StrToInt(values.FrequencyText);
    library.SetFrequency(radio_, static_cast<std::uint32_t>(khz * 1000));
    const QString shown = QString::number(library.GetFrequency(radio_) / 1000);
    calls_.ToUi([this, shown] {
        if (open_) host_.ShowFrequency(shown);
    });
}

void TLibraryLink::OpenFrontend(const TControlValues &values) {
    TVendorLibrary &library = parts_.Library;
    library.FrontendOpen();
    library.FrontendSetAntennaMode(values.AntennaIndex);
    library.FrontendSetRfAttenuator(values.RfAttenuatorIndex);
    calls_.ToUi([this] {
        if (open_) host_.Retune();
    });
}

void TLibraryLink::Close() {
    open_ = false;
    calls_.Run([this] {
        TVendorLibrary &library = parts_.Library;
        if (WinRadio()) {
            if (radio_ != 0) library.CloseRadioDevice(radio_);
            radio_ = 0;
        } else {
            library.FrontendClose();
        }
        library.Release();
    });
}

void TLibraryLink::Shutdown() {
    Close();
    // The window goes: the library is released before it.
    calls_.Finish();
}


void TLibraryLink::Tune(const TFrequencyCommand &command) {
    calls_.Run([this, hz = command.Hz] {
        if (WinRadio()) {
            if (radio_ != 0) parts_.Library.SetFrequency(radio_, static_cast<std::uint32_t>(hz));
        } else {
            parts_.Library.FrontendSetFrequency(static_cast<double>(hz));
        }
    });
}

bool TLibraryLink::FrontendLoaded() const {
    return !WinRadio() && parts_.Library.Loaded();
}

void TLibraryLink::SetDwtMode(int itemIndex) {
    const std::optional<int> mode = DwtModeArgument(itemIndex);
    if (!mode) return;
    calls_.Run([this, mode = *mode] {
        if (FrontendLoaded()) parts_.Library.FrontendSetMode(mode);
    });
}

void TLibraryLink::SetAntenna(int itemIndex) {
    const std::optional<int> antenna = DwtSwitchArgument(itemIndex);
    if (!antenna) return;
    calls_.Run([this, antenna = *antenna] {
        if (FrontendLoaded()) parts_.Library.FrontendSetAntennaMode(antenna);
    });
}

void TLibraryLink::SetRfAttenuator(int itemIndex) {
    const std::optional<int> attenuator = DwtSwitchArgument(itemIndex);
    if (!attenuator) return;
    calls_.Run([this, attenuator = *attenuator] {
        if (FrontendLoaded()) parts_.Library.FrontendSetRfAttenuator(attenuator);
    });
}

void TLibraryLink::RequestLevel() {
    // The front end reports a level only in "DRM" mode.
    if (model_.Level != TLevelKind::Dwt || host_.ControlValues().DwtModeIndex != 0) return;
    // A library slower than the clock gets no second request queued behind the first.
    if (levelPending_) return;
    levelPending_ = true;
    calls_.Run([this] {
        const double lif = parts_.Library.FrontendGetLIF();
        const std::int16_t level = DwtLevel(parts_.Library.FrontendGetRfLevel(), settings_.AntennaCorrection);
        calls_.ToUi([this, lif, level] {
            levelPending_ = false;
            host_.ShowLevel({static_cast<double>(level), QString::number(level), "LIF:" + ShortestDecimalText(lif)});
        });
    });
}

} // namespace drmq
