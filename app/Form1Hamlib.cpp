// The "Hamlib" receiver: connect and disconnect through the Hamlib worker, its
// controls, its level reading, its settings dialog and a lost link.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "logging/SignalLevel.h"
#include "rig/HamlibControls.h"
#include "rig/HamlibDialog.h"
#include "rig/ReceiverModel.h"
#include "tuning/TuningSteps.h"

#include <QSignalBlocker>

namespace drmq {

void TForm1::UpdateHamlibButton() {
    btnhamlib->setEnabled(cbrx->currentIndex() == rmHamlib && !checkaor->isChecked());
}

void TForm1::btnhamlibClick() {
    THamlibDialog dialog(this);
    dialog.Edit(Settings.Hamlib);
}

void TForm1::ConnectHamlib() {
    SwitchControlsOnConnect(rmHamlib, {});
    if (!Hamlib) {
        // Events come back through the window's event queue, in order.
        Hamlib = std::make_unique<THamlibWorker>([this](const THamlibEvent &event) {
            QMetaObject::invokeMethod(
                this, [this, event] { Guard(TErrorSource::Action, [&] { HamlibEvent(event); }); },
                Qt::QueuedConnection);
        });
    }
    // A field that holds no frequency in range leaves the rig where it is.
    int khz = 0;
    const bool tune = TryStrToInt(ToCp1252(Edit1->text()), khz) && khz >= kLowestKhz && khz <= kHighestKhz;
    HamlibSession = Hamlib->Open(Settings.Hamlib, tune ? std::int64_t{khz} * 1000 : 0);
    HamlibCaps = {};
    ReceiverLinkBack();
}

void TForm1::DisconnectHamlib() {
    if (Hamlib) Hamlib->Close();
    HamlibSession = 0;
    HamlibCaps = {};
    ReceiverLinkBack();
    SwitchControlsOnDisconnect(rmHamlib);
}

void TForm1::HamlibEvent(const THamlibEvent &event) {
    // Events of an earlier connect, or arriving after the disconnect, are stale.
    if (event.Session != HamlibSession || HamlibSession == 0) return;
    using TKind = THamlibEvent::TKind;
    switch (event.Kind) {
    case TKind::Opened: {
        HamlibCaps = event.Caps;
        ApplyModelControls(HamlibControls(HamlibCaps));
        if (HamlibCaps.Attenuator) {
            if (const auto index = HamlibAttenuatorIndex(HamlibCaps.AttenuatorSteps, *HamlibCaps.Attenuator))
                cbatt->setCurrentIndex(*index);
        }
        if (HamlibCaps.Passbands) cbfilter->setCurrentIndex(kHamlibWideIndex);
        if (HamlibCaps.Audio) {
            // The bar shows the rig's level; moving it by program sends nothing.
            const QSignalBlocker quiet(VolBar);
            VolBar->setValue(HamlibBarPosition(*HamlibCaps.Audio));
        }
        break;
    }
    case TKind::OpenFailed:
        // As for a port that cannot open: the box is unticked again.
        HamlibSession = 0;
        {
            // Nothing was opened, so no disconnect runs.
            const QSignalBlocker quiet(checkaor);
            checkaor->setChecked(false);
        }
        SwitchControlsOnDisconnect(rmHamlib);
        ShowError(TErrorSource::Action, QString::fromStdString(event.Text));
        break;
    case TKind::CommandFailed:
        ShowError(TErrorSource::Action, QString::fromStdString(event.Text));
        break;
    case TKind::LinkLost:
        ReceiverLinkLost(QString::fromStdString(event.Text));
        break;
    case TKind::LinkBack:
        ReceiverLinkBack();
        break;
    case TKind::Strength:
        Rxl = HamlibLevel(event.Db, AntennaCorrectionValue(Settings.AntennaCorrection));
        lblsm->setText(RoundedLevelText(Rxl));
        break;
    }
}

void TForm1::HamlibAttenuatorChange() {
    if (!Hamlib || HamlibSession == 0) return;
    Hamlib->SetAttenuator(HamlibAttenuatorDb(HamlibCaps.AttenuatorSteps, cbatt->currentIndex()));
}

void TForm1::HamlibFilterChange() {
    const auto passband = HamlibPassbandAt(cbfilter->currentIndex());
    if (Hamlib && HamlibSession != 0 && passband) Hamlib->SetPassband(*passband);
}

void TForm1::HamlibVolumeChange() {
    if (Hamlib && HamlibSession != 0 && HamlibCaps.AudioLevel) Hamlib->SetAudioLevel(HamlibAudioLevel(VolBar->value()));
}

void TForm1::HamlibReadLevel() {
    if (Hamlib && HamlibSession != 0 && HamlibCaps.Strength && !LinkState.Lost()) Hamlib->ReadStrength();
}

} // namespace drmq
