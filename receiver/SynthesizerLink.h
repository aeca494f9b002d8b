// TSynthesizerLink: a home-built front end whose synthesizer is clocked
// through the port's control lines (Elektor held open, DRT1 per command). The
// window calls it on the UI thread; the line frames and their pauses go out
// on the link's own thread, in the order they were asked for.
#pragma once

#include "receiver/LinkCalls.h"
#include "receiver/ReceiverLink.h"

namespace drmq {

class TSynthesizerLink : public TReceiverLink {
public:
    TSynthesizerLink(const TReceiverEntry &model, TLinkHost &host, TLinkParts parts);

    const TReceiverEntry &Model() const override { return model_; }
    TLinkCapabilities Capabilities() const override { return {false, false, Elektor()}; }
    void Open() override;
    void Close() override;
    void Abandon() override;
    void Finish() override { calls_.Finish(); }
    void AfterRequests(std::function<void()> then) override { calls_.AfterCalls(std::move(then)); }
    void Shutdown() override { calls_.Finish(); }
    void Tune(const TFrequencyCommand &command) override;

private:
    bool Elektor() const { return model_.Link == TLinkKind::LinesHeld; }
    // The front end on the window's lines with the fields as they are now.
    TSynthesizerFrontEnd FrontEnd() const;

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
    // Last, so that it finishes its line frames first.
    TLinkCalls calls_;
};

} // namespace drmq
