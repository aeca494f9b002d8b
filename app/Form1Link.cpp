// A receiver link that fails: a connect that cannot complete, a link lost
// while connected (told once in the status bar) and its reopening.
#include "app/Form1.h"

#include "rig/ComPort.h"
#include "rig/ConnectCommands.h"
#include "rig/ReceiverModel.h"

#include <QSignalBlocker>

namespace drmq {

bool TForm1::LinkUp() const {
    return checkaor->isChecked() && !LinkState.Lost();
}

double TForm1::ClockSeconds() const {
    return UtcNow() * 86400.0;
}

void TForm1::ClosePortAnyway() {
    try {
        ComPort1->ClosePort();
    } catch (const std::exception &) {
        // Only the purge failed; the port is closed all the same.
    }
}

void TForm1::AbandonConnect(int model) {
    // Nothing of the disconnect runs: the receiver never took the connect.
    Timer2->stop();
    ClosePortAnyway();
    if (LinePort) LinePort->CloseLinePort();
    {
        // Unticked without running the disconnect.
        const QSignalBlocker quiet(checkaor);
        checkaor->setChecked(false);
    }
    SwitchControlsOnDisconnect(model);
}

void TForm1::SerialLinkLost(const std::string &cause) {
    if (!checkaor->isChecked() || LinkState.Lost()) return;
    // Closed so that the device can come back; nothing is sent until then.
    Timer2->stop();
    ClosePortAnyway();
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
    const int model = cbrx->currentIndex();
    const TReceiverEntry *entry = FindReceiverModel(model);
    if (!entry || entry->Link != TLinkKind::SerialPort) return;
    try {
        ApplyModelLineSettings(*ComPort1, *entry, Settings.ICOMBaudrate);
        ComPort1->OpenPort();
        if (entry->Extra == TExtraLines::DtrOnAfterOpen) ComPort1->DriveDTR(true);
        SendSerialWrites(SerialProcedure(model, Settings.FRG100Delay).Init);
    } catch (const std::exception &) {
        // Not back yet: the next attempt follows in a few seconds.
        ClosePortAnyway();
        return;
    }
    if (model == rmPCR1000) Timer2->start();
    ReceiverLinkBack();
    // Back to the frequency shown, whatever the initialisation tuned to.
    SetFreq(Edit1->text());
}

void TForm1::ReceiverLinkLost(const QString &cause) {
    if (!LinkState.LinkLost(cause.toStdString(), ClockSeconds())) return;
    StatusBar1->showMessage(QString::fromStdString(LinkState.StatusText()));
}

void TForm1::ReceiverLinkBack() {
    if (!LinkState.Lost()) return;
    LinkState.Reconnected();
    StatusBar1->clearMessage();
}

} // namespace drmq
