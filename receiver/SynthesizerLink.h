// TSynthesizerLink: a home-built front end whose synthesizer is clocked
// through the port's control lines (Elektor held open, DRT1 per command). UI thread.
#pragma once

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
    void Tune(const TFrequencyCommand &command) override;

private:
    bool Elektor() const { return model_.Link == TLinkKind::LinesHeld; }
    TSynthesizerFrontEnd FrontEnd() const;

    const TReceiverEntry &model_;
    TLinkHost &host_;
    TLinkParts parts_;
};

} // namespace drmq
