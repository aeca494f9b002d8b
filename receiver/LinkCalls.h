// TLinkCalls: a link's calls to its device, run one after another on the
// link's own thread, and what they report handed back to the UI thread.
// Posting and finishing are the UI thread's; the calls run on the link's thread.
#pragma once

#include "receiver/LinkThread.h"

#include <functional>
#include <memory>

namespace drmq {

class TLinkCalls {
public:
    using TPostToUi = std::function<void(std::function<void()>)>;
    explicit TLinkCalls(TPostToUi postToUi) : postToUi_(std::move(postToUi)) {}

    // Runs call on the link's thread after every call posted before it; what
    // it raises is raised again on the UI thread, where the window shows it.
    void Run(std::function<void()> call);
    // Runs call on the link's thread in the same order, for a link that
    // handles its own failures there.
    void Post(std::function<void()> call) { thread_.Post(std::move(call)); }
    // Runs then on the UI thread later, unless the link has gone by then.
    void ToUi(std::function<void()> then);
    // Runs then on the UI thread once every call posted so far has run.
    void AfterCalls(std::function<void()> then);
    // Waits until every call posted so far has run.
    void Finish() { thread_.Finish(); }

private:
    TPostToUi postToUi_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    // Last, so that it finishes its calls while the rest still exists.
    TLinkThread thread_;
};

} // namespace drmq
