// Receiver connection: the connect and disconnect of every model, the FRG100
// replies, the PCR1000 keep-alive and the receiver steps of the shutdown.
#include "app/Form1.h"

#include "app/RadioGroup.h"
#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "rig/Calibration.h"
#include "rig/ComPort.h"
#include "rig/ConnectCommands.h"
#include "rig/ReceiverModel.h"
#include "rig/Replies.h"

namespace drmq {

namespace {
const char *const kWinRadioWarning = "Be sure that the WiNRADiO application is not running anymore!";

int WholeNumber(const QLineEdit *field) {
    return StrToInt(ToCp1252(field->text()));
}
} // namespace

void TForm1::checkaorClick() {
    // cbcom is locked while connected, so a disconnect never renames the port.
    const int com = cbcom->currentIndex();
    if (com >= 0 && com <= 8) ComPort1->SetPort("COM" + std::to_string(com + 1));
    const bool connecting = checkaor->isChecked();
    const int model = cbrx->currentIndex();
    if (!FindReceiverModel(model)) return;
    if (!connecting) {
        DisconnectReceiver(model);
        return;
    }
    // A port that cannot be opened or written leaves the program disconnected;
    // other errors (a missing calibration file) keep the connection.
    try {
        ConnectReceiver(model);
    } catch (const EComPort &) {
        AbandonConnect(model);
        throw;
    }
}

void TForm1::ConnectReceiver(int model) {
    const TReceiverEntry &entry = *FindReceiverModel(model);
    switch (entry.Link) {
    case TLinkKind::SerialPort: {
        ApplyModelLineSettings(*ComPort1, entry, Settings.ICOMBaudrate);
        ComPort1->OpenPort();
        if (entry.Extra == TExtraLines::DtrOnAfterOpen) ComPort1->DriveDTR(true);
        PortUsed = true;
        const TSerialProcedure procedure = SerialProcedure(model, Settings.FRG100Delay);
        if (!procedure.InitAfterControls) SendSerialWrites(procedure.Init);
        // The ICOM CI-V is tuned once the tuning controls are enabled and
        // before its attenuator list is filled.
        SwitchControlsOnConnect(model, [&] {
            if (model == rmICOM) SetFreq(Edit1->text());
        });
        if (procedure.InitAfterControls) SendSerialWrites(procedure.Init);
        if (model == rmFRG100) LoadCalibrationFile(ProgramFile(kCalibrationFile), CalibrationTable);
        // These initialisations tune the receiver to 6095 kHz themselves.
        if (model == rmPCR1000 || model == rmE1800) Edit1->setText("6095");
        if (model == rmPCR1000) Timer2->start();
        break;
    }
    case TLinkKind::RadioLibrary:
    case TLinkKind::FrontendLibrary:
        ConnectLibraryModel(model);
        break;
    case TLinkKind::LinesHeld:
        SwitchControlsOnConnect(model, {});
        Lines().OpenLinePort(ComPort1->Port());
        Lines().LineDTR(false);
        Lines().LineRTS(false);
        Lines().LineBreak(false);
        LO(WholeNumber(Edit1));
        break;
    case TLinkKind::LinesPerCommand:
        SwitchControlsOnConnect(model, {});
        OffsetCheckClick();
        CFR1ButtonClick();
        CFR2ButtonClick();
        break;
    case TLinkKind::HamlibRig:
        ConnectHamlib();
        break;
    }
}

void TForm1::ConnectLibraryModel(int model) {
    const TReceiverEntry &entry = *FindReceiverModel(model);
    const bool winRadio = entry.Link == TLinkKind::RadioLibrary;
    if (winRadio) ShowMessage(kWinRadioWarning);
    RadioHandle = 0;
    if (!LibraryHandle.Load(LibraryFolders(), entry.LibraryFile)) {
        ShowMessage(entry.LibraryMissingText);
    } else if (winRadio) {
        RadioHandle = LibraryHandle.OpenRadioDevice();
        if (RadioHandle != 0) {
            LibraryHandle.SetPower(RadioHandle, -1);
            LibraryHandle.SetAtten(RadioHandle, 0);
            LibraryHandle.SetAGC(RadioHandle, 1);
            LibraryHandle.SetFrequency(RadioHandle, static_cast<std::uint32_t>(std::int64_t{WholeNumber(Edit1)} * 1000));
            Edit1->setText(QString::number(LibraryHandle.GetFrequency(RadioHandle) / 1000));
        }
    } else {
        LibraryHandle.FrontendOpen();
        LibraryHandle.FrontendSetAntennaMode(cmbant->currentIndex());
        LibraryHandle.FrontendSetRfAttenuator(cmbdwtatt->currentIndex());
        SetFreq(Edit1->text());
    }
    SwitchControlsOnConnect(model, {});
}

void TForm1::DisconnectReceiver(int model) {
    const TReceiverEntry &entry = *FindReceiverModel(model);
    switch (entry.Link) {
    case TLinkKind::SerialPort: {
        if (model == rmPCR1000) Timer2->stop();
        // A lost link has nothing to tell the receiver; unticking ends the retrying.
        if (LinkState.Lost()) {
            ReceiverLinkBack();
            break;
        }
        const TSerialProcedure procedure = SerialProcedure(model, Settings.FRG100Delay);
        try {
            if (procedure.OpenBeforeClose) ComPort1->OpenPort();
            SendSerialWrites(procedure.Close);
        } catch (const std::exception &) {
            // The receiver may be gone: the port closes and the controls
            // switch back all the same, then the error is shown.
            ClosePortAnyway();
            SwitchControlsOnDisconnect(model);
            throw;
        }
        ComPort1->ClosePort();
        break;
    }
    case TLinkKind::RadioLibrary:
    case TLinkKind::FrontendLibrary:
        CloseLibrary(model);
        break;
    case TLinkKind::LinesHeld:
        Lines().CloseLinePort();
        break;
    case TLinkKind::LinesPerCommand: // the DRT1 holds nothing open
        break;
    case TLinkKind::HamlibRig:
        DisconnectHamlib();
        break;
    }
    SwitchControlsOnDisconnect(model);
}

void TForm1::CloseLibrary(int model) {
    const TReceiverEntry *entry = FindReceiverModel(model);
    if (!entry) return;
    if (entry->Link == TLinkKind::RadioLibrary) {
        if (RadioHandle != 0) LibraryHandle.CloseRadioDevice(RadioHandle);
        LibraryHandle.Release();
        RadioHandle = 0;
    } else if (entry->Link == TLinkKind::FrontendLibrary) {
        LibraryHandle.FrontendClose();
        LibraryHandle.Release();
    }
}

void TForm1::ComPort1RxChar(int count) {
    // Only the FRG100's replies are taken here; other bytes wait for a direct read.
    if (cbrx->currentIndex() != rmFRG100) return;
    ComPort1->ReceiveBytes(ReplyBuffer, count);
    if (const auto reading = Frg100SMeterReading(ReplyBuffer)) SMeterByte = *reading;
}

void TForm1::Timer2Timer() {
    if (LinkUp() && cbrx->currentIndex() == rmPCR1000) ComPort1->SendBytes(kPcr1000KeepAlive);
}

void TForm1::IdleReceiver() {
    // A receiver whose link was lost cannot be reached.
    if (!PortUsed || LinkState.Lost()) return;
    ComPort1->OpenPort();
    SendSerialWrites(IdleWrites(cbrx->currentIndex()));
    ComPort1->ClosePort();
}

void TForm1::ReleaseLibraries() {
    if (Hamlib) Hamlib->Close();
    CloseLibrary(cbrx->currentIndex());
}

TLinePort &TForm1::Lines() {
    if (!LinePort)
        LinePort = std::make_unique<TSerialLinePort>([this](const std::string &name) { return DevicePathOf(name); });
    return *LinePort;
}

} // namespace drmq
