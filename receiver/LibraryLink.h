// TLibraryLink: a receiver driven through its maker's library, a WiNRADiO
// radio or the DWT front end. UI thread.
#pragma once

#include "receiver/ReceiverLink.h"

namespace drmq {

class TLibraryLink : public TReceiverLink {
public:
    TLibraryLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings);

    const TReceiverEntry &Model() const override { return model_; }
    TLinkCapabilities Capabilities() const override { return {model_.Level != TLevelKind::None, false}; }
    void Open() override;
    void Close() override;
    void Shutdown() override { Close(); }
    void Tune(const TFrequencyCommand &command) override;
    void SetDwtMode(int itemIndex) override;
    void SetAntenna(int itemIndex) override;
    void SetRfAttenuator(int itemIndex) override;
    void RequestLevel() override;

private:
    bool WinRadio() const { return model_.Link == TLinkKind::RadioLibrary; }
    // The front end's switches act only while its library is loaded.
    bool FrontendLoaded() const;

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
    TLinkSettings settings_;
    // The WiNRADiO radio handle, 0 while no radio is open.
    std::int32_t radio_ = 0;
};

} // namespace drmq
