// The lost-link state: a loss is told once, reopening is tried every few
// seconds, and a reconnect or an untick ends it.
#include "rig/LinkState.h"

#include <gtest/gtest.h>

namespace drmq {
namespace {

TEST(LinkState, LossIsToldOnceAndRetriedEveryFewSeconds) {
    TLinkState link;
    EXPECT_FALSE(link.RetryDue(100.0));
    EXPECT_EQ(link.StatusText(), "");
    EXPECT_TRUE(link.LinkLost("line hung up", 100.0));
    EXPECT_FALSE(link.LinkLost("WriteFile function failed (win error code: 5)", 101.0));
    EXPECT_EQ(link.StatusText(), "Receiver lost: line hung up");
    EXPECT_FALSE(link.RetryDue(100.0 + TLinkState::kRetrySeconds - 0.5));
    EXPECT_TRUE(link.RetryDue(100.0 + TLinkState::kRetrySeconds));
    EXPECT_FALSE(link.RetryDue(100.0 + TLinkState::kRetrySeconds + 1.0)) << "counted from the last attempt";
    EXPECT_TRUE(link.RetryDue(50.0)) << "a clock set back does not stop the retrying";
    link.Reconnected();
    EXPECT_FALSE(link.Lost());
    EXPECT_EQ(link.StatusText(), "");
    EXPECT_FALSE(link.RetryDue(1000.0));
    EXPECT_TRUE(link.LinkLost("line hung up", 1000.0)) << "a new loss is told again";
}

} // namespace
} // namespace drmq
