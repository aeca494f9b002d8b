// TLibraryLink: a receiver driven through its maker's library, a WiNRADiO
// radio or the DWT front end. The window calls it on the UI thread; every
// library call runs on the link's own thread, in the order it was asked for.
#pragma once

#include "receiver/LinkCalls.h"
#include "receiver/ReceiverLink.h"

namespace drmq {

class TLibraryLink : public TReceiverLink {
public:
    TLibraryLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts, TLinkSettings settings);

    const TReceiverEntry &Model() const override { return model_; }
    TLinkCapabilities Capabilities() const override { return {model_.Level != TLevelKind::None, false}; }
    void Open() override;
    void Close() override;
    void Shutdown() override;
    void Finish() override { calls_.Finish(); }
    void AfterRequests(std::function<void()> then) override { calls_.AfterCalls(std::move(then)); }
    void Tune(const TFrequencyCommand &command) override;
    void SetDwtMode(int itemIndex) override;
    void SetAntenna(int itemIndex) override;
    void SetRfAttenuator(int itemIndex) override;
    void RequestLevel() override;

private:
    bool WinRadio() const { return model_.Link == TLinkKind::RadioLibrary; }
    // Thread side: the front end's switches act only while its library is loaded.
    bool FrontendLoaded() const;
    // Thread side: what a connect sets up once the library is loaded.
    void OpenRadio(const TControlValues &values);
    void OpenFrontend(const TControlValues &values);

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
    TLinkSettings settings_;
    // The WiNRADiO radio handle, 0 while no radio is open. The link's thread's.
    std::int32_t radio_ = 0;
    // Connected, as far as the window knows: what a connect reports back
    // after a disconnect is dropped.
    bool open_ = false;
    // A level reading is on its way; the clock's next request waits for it.
    bool levelPending_ = false;
    // Last, so that it finishes its calls first.
    TLinkCalls calls_;
};

} // namespace drmq
