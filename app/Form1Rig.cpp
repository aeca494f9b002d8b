// Receiver connection: connect and disconnect through the selected model's
// link, the replies and keep-alive it takes, and the receiver steps of the shutdown.
#include "app/Form1.h"

#include "rig/ComPort.h"

#include <QSignalBlocker>

namespace drmq {

void TForm1::checkaorClick() {
    // cbcom is locked while connected, so a disconnect never renames the port.
    const int com = cbcom->currentIndex();
    if (com >= 0 && com <= 8) ComPort1->SetPort("COM" + std::to_string(com + 1));
    const bool connecting = checkaor->isChecked();
    if (!SelectedEntry()) return;
    if (!connecting) {
        DisconnectReceiver();
        return;
    }
    // A port that cannot be opened or written leaves the program disconnected;
    // other errors (a missing calibration file) keep the connection.
    try {
        ConnectReceiver();
    } catch (const EComPort &) {
        AbandonConnect();
        throw;
    }
}

void TForm1::ConnectReceiver() {
    Link = MakeReceiverLink(SelectedEntry()->Index, *this, LinkParts(), LinkSettings());
    Link->Open();
    ReceiverLinkBack();
    UpdateKeepAlive();
}

void TForm1::DisconnectReceiver() {
    if (Link) {
        // A lost link has nothing to tell the receiver; unticking ends the retrying.
        const bool lost = LinkState.Lost();
        ReceiverLinkBack();
        try {
            if (lost) Link->Abandon();
            else Link->Close();
        } catch (const std::exception &) {
            // The receiver may be gone: the link closes and the controls
            // switch back all the same, then the error is shown.
            Link->Abandon();
            SwitchControlsOnDisconnect();
            throw;
        }
    }
    UpdateKeepAlive();
    SwitchControlsOnDisconnect();
}

void TForm1::AbandonConnect() {
    // Nothing of the disconnect runs: the receiver never took the connect.
    if (Link) Link->Abandon();
    {
        // Unticked without running the disconnect.
        const QSignalBlocker quiet(checkaor);
        checkaor->setChecked(false);
    }
    UpdateKeepAlive();
    SwitchControlsOnDisconnect();
}

void TForm1::UpdateKeepAlive() {
    const bool wanted = LinkUp() && Link && Link->Capabilities().KeepAlive;
    if (!wanted) Timer2->stop();
    else if (!Timer2->isActive()) Timer2->start();
}

void TForm1::ComPort1RxChar(int count) {
    if (Link) Link->RepliesArrived(count);
}

void TForm1::Timer2Timer() {
    if (LinkUp() && Link) Link->KeepAlive();
}

void TForm1::IdleReceiver() {
    // A receiver whose link was lost cannot be reached.
    if (!PortUsed || LinkState.Lost()) return;
    if (Link) Link->Finish();
    IdleSerialReceiver(*ComPort1, SelectedModel());
}

void TForm1::ReleaseLibraries() {
    if (Link) Link->Shutdown();
}

TLinePort &TForm1::Lines() {
    if (!LinePort)
        LinePort = std::make_unique<TSerialLinePort>([this](const std::string &name) { return DevicePathOf(name); });
    return *LinePort;
}

} // namespace drmq
