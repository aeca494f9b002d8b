// Sharing the receiver: the "Share" box, what the clients are told and the
// tunings they ask for, which go through SetFreq as the user's do.
#include "app/Form1.h"

#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "rig/ReceiverModel.h"
#include "rig/ShareServer.h"

#include <QLocale>
#include <QSignalBlocker>

#include <cmath>

namespace drmq {

namespace {
// S9 in dBuV: the level the clients read is relative to it.
constexpr int kS9Dbuv = 34;

// The level as lblsm shows it, in the desktop's or the C notation.
std::optional<double> ShownLevel(const QString &text) {
    bool ok = false;
    double value = QLocale().toDouble(text, &ok);
    if (!ok) value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}
} // namespace

QString TForm1::ShareEndpoint() const {
    const int port = Share && Share->Running() ? Share->Port() : Settings.SharePort;
    return FromCp1252(Settings.ShareAddress) + ":" + QString::number(port);
}

void TForm1::chkshareClick() {
    if (!chkshare->isChecked()) {
        if (Share) Share->Stop();
        ShowShareClients(0);
        return;
    }
    if (!Share) {
        TShareServer::TEvents events;
        // Both come from the server's thread; the window handles them in turn.
        events.TuneWaiting = [this] {
            QMetaObject::invokeMethod(
                this, [this] { Gate.RunMerged(Share.get(), [this] { ShareTune(); }); }, Qt::QueuedConnection);
        };
        events.ClientsChanged = [this](int clients) {
            QMetaObject::invokeMethod(this, [this, clients] { ShowShareClients(clients); }, Qt::QueuedConnection);
        };
        Share = std::make_unique<TShareServer>(std::move(events));
    }
    PublishShare();
    const std::string failure = Share->Start(Settings.ShareAddress, Settings.SharePort);
    if (!failure.empty()) {
        {
            const QSignalBlocker quiet(chkshare);
            chkshare->setChecked(false);
        }
        ShowShareClients(0);
        ShowError(TErrorSource::Action, "Cannot share the receiver on " + FromCp1252(failure));
        return;
    }
    PublishShare();
    ShowShareClients(0);
}

void TForm1::ShowShareClients(int clients) {
    if (!Share || !Share->Running()) {
        chkshare->setToolTip("Lets Hamlib programs (NET rigctl) read and tune the receiver on " + ShareEndpoint());
        return;
    }
    const QString count = clients == 1 ? "1 client" : QString::number(clients) + " clients";
    chkshare->setToolTip("Receiver shared on " + ShareEndpoint() + ": " + count + " connected");
}

void TForm1::PublishShare() {
    if (!Share) return;
    int khz = 0;
    if (TryStrToInt(ToCp1252(Edit1->text()), khz)) ShareSnapshot.Hz = std::int64_t{khz} * 1000;
    ShareSnapshot.Strength.reset();
    if (checkaor->isChecked() && lblsm->isVisibleTo(this)) {
        if (const auto dbuv = ShownLevel(lblsm->text()))
            ShareSnapshot.Strength = static_cast<int>(std::nearbyint(*dbuv)) - kS9Dbuv;
    }
    ShareSnapshot.Mode = cbrx->currentIndex() == rmHamlib ? Settings.Hamlib.Mode : "AM";
    Share->Publish(ShareSnapshot);
}

void TForm1::ShareTune() {
    if (!Share) return;
    const std::optional<TShareServer::TTune> tune = Share->TakeTune();
    if (!tune) return;
    int code = kRigRejected;
    // As the tuning controls: only while connected. While a log runs the
    // clients are refused rather than the user asked.
    if (checkaor->isChecked() && !LogRunning) {
        const QString khz = QString::number(tune->Khz);
        bool sent = false;
        // A failing receiver must not stack a box for every client's request.
        Guard(TErrorSource::Clock, [&] {
            SetFreq(khz);
            sent = true;
        });
        code = !sent ? kRigIoError : Edit1->text() == khz ? kRigOk : kRigRejected;
    }
    PublishShare();
    Share->TuneDone(tune->Ticket, code);
}

} // namespace drmq
