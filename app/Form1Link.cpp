// The window's side of the receiver link: what a link reads and shows, a link
// lost while connected (told once in the status bar) and its reopening.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "core/Cp1252.h"
#include "logging/SignalLevel.h"
#include "rig/ComPort.h"

#include <QSignalBlocker>

namespace drmq {

const TReceiverEntry *TForm1::SelectedEntry() const {
    const int index = cbrx->currentIndex();
    if (index < 0 || index >= ReceiverListCount()) return nullptr;
    return &ReceiverAtListIndex(index);
}

int TForm1::SelectedModel() const {
    const TReceiverEntry *entry = SelectedEntry();
    return entry ? entry->Index : -1;
}

int TForm1::LinkModel() const {
    return Link ? Link->Model().Index : SelectedModel();
}

TLinkParts TForm1::LinkParts() {
    auto post = [this](std::function<void()> job) {
        QMetaObject::invokeMethod(
            this, [this, job] { Guard(TErrorSource::Clock, job); }, Qt::QueuedConnection);
    };
    return {*ComPort1, [this]() -> TLinePort & { return Lines(); }, LibraryHandle, Readings, PortUsed,
            LibraryFolders(), ProgramFile(kCalibrationFile), post};
}

TLinkSettings TForm1::LinkSettings() const {
    return {Settings.FRG100Delay, Settings.ICOMBaudrate, Settings.ICOMRigAddress,
            AntennaCorrectionValue(Settings.AntennaCorrection), &Settings.Hamlib};
}

TSynthesizerFields TForm1::SynthesizerFields() const {
    return {ComPort1->Port(),         ToCp1252(Edit3->text()),     ToCp1252(Edit4->text()),
            Multiplikator->currentIndex(), Chargepump->currentIndex(), FirstIfOffset,
            Settings.ElektorDelay,    Settings.DRT1Delay};
}

TControlValues TForm1::ControlValues() const {
    return {ToCp1252(Edit1->text()), cbatt->currentIndex(), dwtmod->ItemIndex(), cmbant->currentIndex(),
            cmbdwtatt->currentIndex(), SynthesizerFields()};
}

void TForm1::Retune() {
    SetFreq(Edit1->text());
}

void TForm1::ShowFrequency(const QString &khz) {
    Edit1->setText(khz);
}

void TForm1::ApplyOffsetField() {
    OffsetCheckClick();
}

void TForm1::ShowLevel(const TLinkLevel &level) {
    Rxl = level.Rxl;
    lblsm->setText(level.Text);
    if (level.Lif) lbldwtlif->setText(*level.Lif);
}

void TForm1::ApplyLinkControls(const TLinkControls &controls) {
    ApplyModelControls(controls.Controls);
    if (controls.AttenuatorIndex) cbatt->setCurrentIndex(*controls.AttenuatorIndex);
    if (controls.FilterIndex) cbfilter->setCurrentIndex(*controls.FilterIndex);
    if (controls.VolumePosition) {
        // The bar shows the receiver's level; moving it by program sends nothing.
        const QSignalBlocker quiet(VolBar);
        VolBar->setValue(*controls.VolumePosition);
    }
}

void TForm1::LinkOpenFailed(const QString &reason) {
    // As for a port that cannot open: the box is unticked again.
    {
        // Nothing was opened, so no disconnect runs.
        const QSignalBlocker quiet(checkaor);
        checkaor->setChecked(false);
    }
    SwitchControlsOnDisconnect();
    ShowError(TErrorSource::Action, reason);
}

void TForm1::LinkCommandFailed(const QString &reason) {
    ShowError(TErrorSource::Action, reason);
}

void TForm1::LinkLost(const QString &cause) {
    ReceiverLinkLost(cause);
}

void TForm1::LinkBack() {
    ReceiverLinkBack();
}

void TForm1::LinkReopened() {
    // Unticked meanwhile: the retrying has ended.
    if (!checkaor->isChecked() || !LinkState.Lost()) return;
    ReceiverLinkBack();
    // Back to the frequency shown, whatever the initialisation tuned to.
    SetFreq(Edit1->text());
}

bool TForm1::LinkUp() const {
    return checkaor->isChecked() && !LinkState.Lost();
}

double TForm1::ClockSeconds() const {
    return UtcNow() * 86400.0;
}

void TForm1::SerialLinkLost(const std::string &cause) {
    if (!checkaor->isChecked() || LinkState.Lost()) return;
    // Closed so that the device can come back; nothing is sent until then.
    if (Link) Link->Abandon();
    ReceiverLinkLost(QString::fromStdString(cause));
}

bool TForm1::LinkFailureHandled(const EComPort &error) {
    if (!checkaor->isChecked()) return false;
    // While the link is down every write fails; the status bar already says why.
    if (LinkState.Lost()) return true;
    if (!error.LineGone()) return false;
    SerialLinkLost(error.what());
    return true;
}

void TForm1::RetryLostLink() {
    if (!checkaor->isChecked() || !LinkState.RetryDue(ClockSeconds())) return;
    if (Link) Link->Reopen();
}

void TForm1::ReceiverLinkLost(const QString &cause) {
    if (!LinkState.LinkLost(cause.toStdString(), ClockSeconds())) return;
    StatusBar1->showMessage(QString::fromStdString(LinkState.StatusText()));
    UpdateKeepAlive();
}

void TForm1::ReceiverLinkBack() {
    if (!LinkState.Lost()) return;
    LinkState.Reconnected();
    StatusBar1->clearMessage();
    UpdateKeepAlive();
}

} // namespace drmq
