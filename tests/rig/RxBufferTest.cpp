// The 1024-byte receive buffer and the handshake level it calls for.
#include "rig/RxBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace drmq {
namespace {

TEST(RxBufferTest, KeepsBytesInOrderAcrossTheWrapAround) {
    TRxBuffer rx;
    std::string first(1000, 'a');
    EXPECT_EQ(rx.Put(first.data(), first.size()), 1000u);
    EXPECT_EQ(rx.Take(990), std::string(990, 'a'));
    const std::string more = std::string(10, 'a') + std::string("\x00wrap", 5);
    std::string tail("\x00wrap", 5);
    EXPECT_EQ(rx.Put(tail.data(), tail.size()), 5u);
    EXPECT_EQ(rx.Count(), 15u);
    EXPECT_EQ(rx.Take(100), more);
    EXPECT_EQ(rx.Count(), 0u);
}

TEST(RxBufferTest, NeverHoldsMoreThan1024Bytes) {
    TRxBuffer rx;
    std::string flood(1500, 'x');
    EXPECT_EQ(rx.Put(flood.data(), flood.size()), 1024u);
    EXPECT_EQ(rx.Room(), 0u);
    EXPECT_EQ(rx.Put("y", 1), 0u);
    EXPECT_EQ(rx.Take(2000).size(), 1024u);
}

TEST(RxBufferTest, ClearDiscardsEverything) {
    TRxBuffer rx;
    rx.Put("abc", 3);
    rx.Clear();
    EXPECT_EQ(rx.Count(), 0u);
    EXPECT_EQ(rx.Take(3), "");
}

// The line goes off below 256 bytes free, comes back at no more than 256 waiting.
TEST(RxBufferTest, HandshakeLineFollowsTheFillLevelWithHysteresis) {
    struct Step {
        std::size_t waiting;
        bool lineBefore;
        bool lineAfter;
    };
    const std::vector<Step> steps = {
        {0, true, true},     {256, true, true},    {768, true, true},   {769, true, false},
        {1024, true, false}, {1024, false, false}, {768, false, false}, {257, false, false},
        {256, false, true},  {0, false, true},     {500, true, true},
    };
    for (const auto &step : steps) {
        TRxBuffer rx;
        std::string bytes(step.waiting, 'z');
        rx.Put(bytes.data(), bytes.size());
        EXPECT_EQ(rx.HandshakeLine(step.lineBefore), step.lineAfter)
            << step.waiting << " waiting, line was " << step.lineBefore;
    }
}

} // namespace
} // namespace drmq
