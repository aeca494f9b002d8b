// TSerialLink: a receiver that speaks its command bytes over ComPort1, driven
// entirely by its catalogue row. The window calls it on the UI thread, which
// opens and closes the port and reads the bytes that have arrived; every write
// runs on the link's own thread, in the order it was asked for.
#pragma once

#include "receiver/LinkCalls.h"
#include "receiver/ReceiverLink.h"

#include <atomic>

namespace drmq {

class EComPort;

class TSerialLink : public TReceiverLink {
public:
    TSerialLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings);

    const TReceiverEntry &Model() const override { return model_; }
    TLinkCapabilities Capabilities() const override;
    void Open() override;
    void Close() override;
    void Abandon() override;
    void Reopen() override;
    void Finish() override { calls_.Finish(); }
    void AfterRequests(std::function<void()> then) override;
    void Tune(const TFrequencyCommand &command) override;
    void SetAttenuator(int index) override;
    void SetFilter(int index) override;
    void SetAuxLevel(int position) override;
    void SetSpeakerLevel(int position) override;
    void RequestLevel() override;
    void RepliesArrived(int count) override;
    void KeepAlive() override;

    // What a write that cannot leave within its time-out reports as the cause.
    static constexpr const char *kWriteTimedOut = "no byte left the port within the write time-out";

private:
    // Line settings, open, DTR: the same for a connect and a reopening.
    void OpenPort();
    std::vector<std::string> InitWrites() const;
    // Runs job on the link's thread unless the link is down. A port error
    // goes to the window like one of its own handlers; a write that does not
    // complete in time closes the link and reports it lost.
    void Run(std::function<void()> job, std::function<void()> afterFailure = {});
    void Send(std::vector<std::string> writes);
    // Thread side: one write, all of it within the port's time-out.
    void Write(std::string_view bytes);
    // One byte that has arrived into target; target keeps its value when none has.
    void ReadArrivedByte(std::uint8_t &target);

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
    TLinkSettings settings_;
    // Set by the thread when the port failed: nothing more touches the port
    // until it is opened again.
    std::atomic<bool> down_{false};
    // A reopening is on its way; the next attempt waits for its outcome.
    bool reopening_ = false;
    // The AOR7030's two S-meter bytes, kept from one reading to the next.
    std::uint8_t aorFirst_ = 0;
    std::uint8_t aorSecond_ = 0;
    // Last, so that it finishes its jobs first; what it hands to the UI runs
    // only while the link exists.
    TLinkCalls calls_;
};

} // namespace drmq
