// THamlibLink: any rig Hamlib drives, through the Hamlib worker thread; the
// worker's events come back to the UI thread and reach the host there. UI thread.
#pragma once

#include "receiver/ReceiverLink.h"
#include "rig/HamlibWorker.h"

namespace drmq {

class THamlibLink : public TReceiverLink {
public:
    THamlibLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings);

    const TReceiverEntry &Model() const override { return model_; }
    TLinkCapabilities Capabilities() const override { return {true, false}; }
    void Open() override;
    void Close() override;
    void Abandon() override { Close(); }
    void Shutdown() override { Close(); }
    void Reopen() override {
        if (Opened()) worker_.Reopen();
    }
    void Tune(const TFrequencyCommand &command) override;
    void SetAttenuator(int index) override;
    void SetFilter(int index) override;
    void SetAuxLevel(int position) override;
    void RequestLevel() override;

private:
    void Event(const THamlibEvent &event);
    bool Opened() const { return session_ != 0; }

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
    TLinkSettings settings_;
    // The session of the current open; 0 while none is open or opening.
    std::uint64_t session_ = 0;
    THamlibCaps caps_;
    // Jobs posted by the worker run only while the link exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    // Last, so that its thread ends first.
    THamlibWorker worker_;
};

} // namespace drmq
