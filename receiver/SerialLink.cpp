#include "receiver/SerialLink.h"

#include "core/RunErrors.h"
#include "logging/SignalLevel.h"
#include "rig/Calibration.h"
#include "rig/ComPort.h"
#include "rig/ConnectCommands.h"
#include "rig/Replies.h"
#include "tuning/ControlCommands.h"

namespace drmq {

namespace {
void SendWrites(TComPort &port, const std::vector<std::string> &writes) {
    for (const std::string &bytes : writes) port.SendBytes(bytes);
}

// Closes the port even where the device has gone.
void ClosePortAnyway(TComPort &port) {
    try {
        port.ClosePort();
    } catch (const std::exception &) {
        // Only the purge failed; the port is closed all the same.
    }
}
} // namespace

TSerialLink::TSerialLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings)
    : model_(model), host_(host), parts_(std::move(parts)), settings_(std::move(settings)) {}

TLinkCapabilities TSerialLink::Capabilities() const {
    return {model_.Level != TLevelKind::None, model_.KeepAlive != nullptr};
}

void TSerialLink::OpenPort() {
    ApplyModelLineSettings(parts_.Port, model_, settings_.IcomBaudrate);
    parts_.Port.OpenPort();
    if (model_.Extra == TExtraLines::DtrOnAfterOpen) parts_.Port.DriveDTR(true);
    parts_.PortUsed = true;
}

void TSerialLink::SendInit() {
    Send(SerialProcedure(model_.Index, settings_.Frg100Delay).Init);
}

void TSerialLink::Send(const std::vector<std::string> &writes) {
    SendWrites(parts_.Port, writes);
}

void TSerialLink::Open() {
    OpenPort();
    if (!model_.InitAfterControls) SendInit();
    host_.SwitchControlsOnConnect([this] {
        if (model_.TuneWhileSwitching) host_.Retune();
    });
    if (model_.InitAfterControls) SendInit();
    if (model_.Calibrated) LoadCalibrationFile(parts_.CalibrationPath, parts_.Readings.CalibrationTable);
    if (model_.TunedByInit) host_.ShowFrequency(model_.TunedByInit);
}

void TSerialLink::Close() {
    if (model_.OpenBeforeClose) parts_.Port.OpenPort();
    Send(model_.Close);
    parts_.Port.ClosePort();
}

void TSerialLink::Abandon() {
    ClosePortAnyway(parts_.Port);
}

bool TSerialLink::Reopen() {
    try {
        OpenPort();
        SendInit();
    } catch (const std::exception &) {
        // Not back yet: the next attempt follows in a few seconds.
        ClosePortAnyway(parts_.Port);
        return false;
    }
    return true;
}

void TSerialLink::Tune(const TFrequencyCommand &command) {
    if (!command.Bytes.empty()) parts_.Port.SendBytes(command.Bytes);
}

void TSerialLink::SetAttenuator(int index) {
    Send(AttenuatorCommand(model_.Index, std::to_string(index), settings_.IcomRigAddress));
}

void TSerialLink::SetFilter(int index) {
    Send(FilterCommand(model_.Index, index));
}

void TSerialLink::SetAuxLevel(int position) {
    Send(AuxLevelCommand(model_.Index, position));
}

void TSerialLink::SetSpeakerLevel(int position) {
    Send(SpeakerLevelCommand(model_.Index, position));
}

void TSerialLink::ReadArrivedByte(std::uint8_t &target) {
    std::string arrived;
    if (parts_.Port.ReceiveBytes(arrived, 1) == 1) target = static_cast<std::uint8_t>(arrived[0]);
}

void TSerialLink::RequestLevel() {
    TLinkReadings &r = parts_.Readings;
    const double correction = settings_.AntennaCorrection;
    switch (model_.Level) {
    case TLevelKind::Aor7030: {
        for (const char *part : {"P", "3O", "q"}) parts_.Port.SendBytes(part);
        ReadArrivedByte(r.SMeterByte);
        for (const char *part : {"P", "4@", "q"}) parts_.Port.SendBytes(part);
        ReadArrivedByte(r.AorSecondByte);
        const double rxl = Aor7030Level(r.SMeterByte, r.AorSecondByte, host_.ControlValues().AttenuatorIndex, correction);
        host_.ShowLevel({rxl, RoundedLevelText(rxl), {}});
        break;
    }
    case TLevelKind::Frg100: {
        parts_.Port.SendBytes(std::string_view("\x00\x00\x00\x00\xF7", 5));
        // While a new frequency is being typed the field may hold no number:
        // then this tick takes no reading (rather than an error box a second).
        int khz = 0;
        if (!TryStrToInt(host_.ControlValues().FrequencyText, khz)) break;
        // The reading is the one an earlier reply left in SMeterByte.
        const double rxl = Frg100Level(r.CalibrationTable, r.SMeterByte, khz, correction);
        host_.ShowLevel({rxl, ShortestDecimalText(rxl), {}});
        break;
    }
    case TLevelKind::Ts850:
        parts_.Port.SendBytes("SM;");
        parts_.Port.ReceiveBytes(r.ReplyBuffer, 7);
        if (const auto level = Ts850Level(r.ReplyBuffer, correction)) host_.ShowLevel({*level, RoundedLevelText(*level), {}});
        break;
    default:
        break;
    }
}

void TSerialLink::RepliesArrived(int count) {
    // Only the FRG100's replies are taken as they come; other bytes wait for a direct read.
    if (model_.Level != TLevelKind::Frg100) return;
    parts_.Port.ReceiveBytes(parts_.Readings.ReplyBuffer, count);
    if (const auto reading = Frg100SMeterReading(parts_.Readings.ReplyBuffer)) parts_.Readings.SMeterByte = *reading;
}

void TSerialLink::KeepAlive() {
    if (model_.KeepAlive) parts_.Port.SendBytes(model_.KeepAlive);
}

void IdleSerialReceiver(TComPort &port, int model) {
    port.OpenPort();
    SendWrites(port, IdleWrites(model));
    port.ClosePort();
}

} // namespace drmq
