#include "receiver/LinkCalls.h"

#include "core/RunErrors.h"

namespace drmq {

void TLinkCalls::Run(std::function<void()> call) {
    thread_.Post([this, call = std::move(call)] {
        try {
            call();
        } catch (const std::exception &error) {
            ToUi([text = std::string(error.what())] { throw ERunError(text); });
        }
    });
}

void TLinkCalls::AfterCalls(std::function<void()> then) {
    thread_.Post([this, then = std::move(then)] { ToUi(then); });
}

void TLinkCalls::ToUi(std::function<void()> then) {
    postToUi_([alive = std::weak_ptr<int>(alive_), then = std::move(then)] {
        if (alive.lock()) then();
    });
}

} // namespace drmq
