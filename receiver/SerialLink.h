// TSerialLink: a receiver that speaks its command bytes over ComPort1, driven
// entirely by its catalogue row. UI thread.
#pragma once

#include "receiver/ReceiverLink.h"

namespace drmq {

class TSerialLink : public TReceiverLink {
public:
    TSerialLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings);

    const TReceiverEntry &Model() const override { return model_; }
    TLinkCapabilities Capabilities() const override;
    void Open() override;
    void Close() override;
    void Abandon() override;
    bool Reopen() override;
    void Tune(const TFrequencyCommand &command) override;
    void SetAttenuator(int index) override;
    void SetFilter(int index) override;
    void SetAuxLevel(int position) override;
    void SetSpeakerLevel(int position) override;
    void RequestLevel() override;
    void RepliesArrived(int count) override;
    void KeepAlive() override;

private:
    // Line settings, open, DTR: the same for a connect and a reopening.
    void OpenPort();
    void SendInit();
    void Send(const std::vector<std::string> &writes);
    // One byte that has arrived into target; target keeps its value when none has.
    void ReadArrivedByte(std::uint8_t &target);

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
    TLinkSettings settings_;
};

} // namespace drmq
