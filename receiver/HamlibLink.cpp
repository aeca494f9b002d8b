#include "receiver/HamlibLink.h"

#include "core/RunErrors.h"
#include "logging/SignalLevel.h"
#include "rig/HamlibControls.h"
#include "tuning/TuningSteps.h"

namespace drmq {

THamlibLink::THamlibLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings)
    : model_(model), host_(host), parts_(std::move(parts)), settings_(std::move(settings)),
      worker_([post = parts_.PostToUi, alive = std::weak_ptr<int>(alive_), this](const THamlibEvent &event) {
          // Events come back through the window's event queue, in order.
          post([alive, this, event] {
              if (alive.lock()) Event(event);
          });
      }) {}

void THamlibLink::Open() {
    host_.SwitchControlsOnConnect({});
    // A field that holds no frequency in range leaves the rig where it is.
    int khz = 0;
    const bool tune = TryStrToInt(host_.ControlValues().FrequencyText, khz) && khz >= kLowestKhz && khz <= kHighestKhz;
    session_ = worker_.Open(*settings_.Hamlib, tune ? std::int64_t{khz} * 1000 : 0);
    caps_ = {};
}

void THamlibLink::Close() {
    worker_.Close();
    session_ = 0;
    caps_ = {};
}

void THamlibLink::Event(const THamlibEvent &event) {
    // Events of an earlier open, or arriving after the close, are stale.
    if (event.Session != session_ || !Opened()) return;
    using TKind = THamlibEvent::TKind;
    switch (event.Kind) {
    case TKind::Opened: {
        caps_ = event.Caps;
        TLinkControls shown{HamlibControls(caps_), {}, {}, {}};
        if (caps_.Attenuator) shown.AttenuatorIndex = HamlibAttenuatorIndex(caps_.AttenuatorSteps, *caps_.Attenuator);
        if (caps_.Passbands) shown.FilterIndex = kHamlibWideIndex;
        if (caps_.Audio) shown.VolumePosition = HamlibBarPosition(*caps_.Audio);
        host_.ApplyLinkControls(shown);
        break;
    }
    case TKind::OpenFailed:
        session_ = 0;
        host_.LinkOpenFailed(QString::fromStdString(event.Text));
        break;
    case TKind::CommandFailed:
        host_.LinkCommandFailed(QString::fromStdString(event.Text));
        break;
    case TKind::LinkLost:
        host_.LinkLost(QString::fromStdString(event.Text));
        break;
    case TKind::LinkBack:
        host_.LinkBack();
        break;
    case TKind::Strength: {
        const double rxl = HamlibLevel(event.Db, settings_.AntennaCorrection);
        host_.ShowLevel({rxl, RoundedLevelText(rxl), {}});
        break;
    }
    }
}

void THamlibLink::Tune(const TFrequencyCommand &command) {
    if (Opened()) worker_.Tune(command.Hz);
}

void THamlibLink::SetAttenuator(int index) {
    if (Opened()) worker_.SetAttenuator(HamlibAttenuatorDb(caps_.AttenuatorSteps, index));
}

void THamlibLink::SetFilter(int index) {
    const auto passband = HamlibPassbandAt(index);
    if (Opened() && passband) worker_.SetPassband(*passband);
}

void THamlibLink::SetAuxLevel(int position) {
    if (Opened() && caps_.AudioLevel) worker_.SetAudioLevel(HamlibAudioLevel(position));
}

void THamlibLink::RequestLevel() {
    if (Opened() && caps_.Strength) worker_.ReadStrength();
}

} // namespace drmq
