// The Hamlib worker against Hamlib's own dummy rig (model 1): its events come
// in the order of the requests, carry their session and stop with the close.
#include "rig/HamlibWorker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace drmq::test {
namespace {

using TKind = THamlibEvent::TKind;

class EventLog {
public:
    void Add(const THamlibEvent &event) {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
        changed_.notify_all();
    }
    // Waits (generously) until n events have arrived and returns them all.
    std::vector<THamlibEvent> AtLeast(size_t n) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return events_.size() >= n; });
        return events_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<THamlibEvent> events_;
};

TEST(HamlibWorker, DummyRigOpensReportsItsStrengthAndFallsSilentWhenClosed) {
    EventLog log;
    THamlibWorker worker([&](const THamlibEvent &event) { log.Add(event); });
    THamlibSettings dummy;
    dummy.Model = 1;
    dummy.Port = "";
    dummy.Mode = "AM";

    const std::uint64_t session = worker.Open(dummy, 6095000);
    worker.Tune(7325000);
    worker.ReadStrength();
    auto events = log.AtLeast(2);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].Kind, TKind::Opened) << events[0].Text;
    EXPECT_EQ(events[0].Session, session);
    EXPECT_TRUE(events[0].Caps.Strength);
    EXPECT_EQ(events[1].Kind, TKind::Strength);
    EXPECT_EQ(events[1].Session, session);

    // After the close a reading gives nothing; the next open is a new session,
    // and a model Hamlib does not know fails with Hamlib's reason.
    worker.Close();
    worker.ReadStrength();
    THamlibSettings unknown = dummy;
    unknown.Model = 999999;
    const std::uint64_t second = worker.Open(unknown, 0);
    EXPECT_NE(second, session);
    events = log.AtLeast(3);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].Kind, TKind::OpenFailed);
    EXPECT_EQ(events[2].Session, second);
    EXPECT_FALSE(events[2].Text.empty());
}

} // namespace
} // namespace drmq::test
