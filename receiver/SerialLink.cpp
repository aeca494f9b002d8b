#include "receiver/SerialLink.h"

#include "core/RunErrors.h"
#include "logging/SignalLevel.h"
#include "rig/Calibration.h"
#include "rig/ComPort.h"
#include "rig/ConnectCommands.h"
#include "rig/Replies.h"
#include "tuning/ControlCommands.h"

#include <cerrno>

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

// A write whose bytes did not all leave within the port's time-out.
class EWriteTimedOut : public std::runtime_error {
public:
    EWriteTimedOut() : std::runtime_error(TSerialLink::kWriteTimedOut) {}
};
} // namespace

TSerialLink::TSerialLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings)
    : model_(model), host_(host), parts_(std::move(parts)), settings_(std::move(settings)),
      calls_(parts_.PostToUi) {}

TLinkCapabilities TSerialLink::Capabilities() const {
    return {model_.Level != TLevelKind::None, model_.KeepAlive != nullptr};
}

void TSerialLink::OpenPort() {
    ApplyModelLineSettings(parts_.Port, model_, settings_.IcomBaudrate);
    parts_.Port.OpenPort();
    if (model_.Extra == TExtraLines::DtrOnAfterOpen) parts_.Port.DriveDTR(true);
    parts_.PortUsed = true;
    down_ = false;
}

std::vector<std::string> TSerialLink::InitWrites() const {
    return SerialProcedure(model_.Index, settings_.Frg100Delay).Init;
}

void TSerialLink::Run(std::function<void()> job, std::function<void()> afterFailure) {
    calls_.Post([this, job = std::move(job), afterFailure = std::move(afterFailure)] {
        if (down_) return;
        std::function<void()> report;
        try {
            job();
            return;
        } catch (const EComPort &error) {
            // Nothing more goes to a port whose device has gone.
            if (error.LineGone()) down_ = true;
            report = [error] { throw error; };
        } catch (const EWriteTimedOut &) {
            down_ = true;
            report = [this] {
                Abandon();
                host_.LinkLost(kWriteTimedOut);
            };
        }
        calls_.ToUi([report = std::move(report), afterFailure] {
            if (afterFailure) afterFailure();
            report();
        });
    });
}

void TSerialLink::Write(std::string_view bytes) {
    if (parts_.Port.SendBytes(bytes) < static_cast<int>(bytes.size())) throw EWriteTimedOut();
}

void TSerialLink::Send(std::vector<std::string> writes) {
    if (writes.empty()) return;
    Run([this, writes = std::move(writes)] {
        for (const std::string &bytes : writes) Write(bytes);
    });
}

void TSerialLink::Open() {
    OpenPort();
    if (!model_.InitAfterControls) Send(InitWrites());
    host_.SwitchControlsOnConnect([this] {
        if (model_.TuneWhileSwitching) host_.Retune();
    });
    if (model_.InitAfterControls) Send(InitWrites());
    if (model_.Calibrated) LoadCalibrationFile(parts_.CalibrationPath, parts_.Readings.CalibrationTable);
    if (model_.TunedByInit) host_.ShowFrequency(model_.TunedByInit);
}

void TSerialLink::Close() {
    if (model_.OpenBeforeClose) {
        calls_.Finish();
        parts_.Port.OpenPort();
        down_ = false;
    }
    Send(model_.Close);
    // The closing bytes leave before the port closes.
    calls_.Finish();
    parts_.Port.ClosePort();
}

void TSerialLink::Abandon() {
    down_ = true;
    calls_.Finish();
    ClosePortAnyway(parts_.Port);
}

void TSerialLink::Reopen() {
    if (reopening_) return;
    try {
        OpenPort();
    } catch (const std::exception &) {
        // Not back yet: the next attempt follows in a few seconds.
        ClosePortAnyway(parts_.Port);
        return;
    }
    reopening_ = true;
    Run(
        [this, writes = InitWrites()] {
            for (const std::string &bytes : writes) Write(bytes);
            calls_.ToUi([this] {
                reopening_ = false;
                host_.LinkReopened();
            });
        },
        [this] { reopening_ = false; });
}

void TSerialLink::AfterRequests(std::function<void()> then) {
    Run([this, then = std::move(then)] { calls_.ToUi(then); });
}

void TSerialLink::Tune(const TFrequencyCommand &command) {
    if (!command.Bytes.empty()) Send({command.Bytes});
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
    // A reading is what the receiver has answered to the earlier requests: it
    // is taken from the bytes that have arrived, then the next request goes out.
    const double correction = settings_.AntennaCorrection;
    switch (model_.Level) {
    case TLevelKind::Aor7030: {
        ReadArrivedByte(aorFirst_);
        ReadArrivedByte(aorSecond_);
        Send({"P", "3O", "q", "P", "4@", "q"});
        const double rxl = Aor7030Level(aorFirst_, aorSecond_, host_.ControlValues().AttenuatorIndex, correction);
        host_.ShowLevel({rxl, RoundedLevelText(rxl), {}});
        break;
    }
    case TLevelKind::Frg100: {
        Send({std::string("\x00\x00\x00\x00\xF7", 5)});
        // While a new frequency is being typed the field may hold no number:
        // then this tick takes no reading (rather than an error box a second).
        int khz = 0;
        if (!TryStrToInt(host_.ControlValues().FrequencyText, khz)) break;
        // The reading is the one an earlier reply left in SMeterByte.
        const TLinkReadings &r = parts_.Readings;
        const double rxl = Frg100Level(r.CalibrationTable, r.SMeterByte, khz, correction);
        host_.ShowLevel({rxl, ShortestDecimalText(rxl), {}});
        break;
    }
    case TLevelKind::Ts850: {
        std::string reply;
        parts_.Port.ReceiveBytes(reply, 7);
        Send({"SM;"});
        if (const auto level = Ts850Level(reply, correction)) host_.ShowLevel({*level, RoundedLevelText(*level), {}});
        break;
    }
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
    if (model_.KeepAlive) Send({model_.KeepAlive});
}

void IdleSerialReceiver(TComPort &port, int model) {
    port.OpenPort();
    SendWrites(port, IdleWrites(model));
    port.ClosePort();
}

} // namespace drmq
