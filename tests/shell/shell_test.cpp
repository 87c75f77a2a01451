#include "shell/shell.h"

#include <gtest/gtest.h>

#include <vector>

#include "clock/frame_clock.h"
#include "clock/random.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/headless_test.h"

namespace {

using Shell = support::HeadlessTest;

int FrameCount = 0;

int32_t CountingFrame() {
    ++FrameCount;
    return 1;
}

TEST_F(Shell, QuitTakenEndsTheLoopBeforeThatPassesFrame) {
    FrameCount = 0;
    platform::PostMessage(platform::MessageKind::Quit, 7);
    EXPECT_EQ(RunMessageLoop(CountingFrame), 7);
    EXPECT_EQ(FrameCount, 0);
}

// A frame that, like the menu, posts the window's destroy message from inside
// a nested loop and keeps going for a while before it returns.
int32_t NestedLoopFrame() {
    ++FrameCount;
    if (FrameCount == 1) {
        platform::PostMessage(platform::MessageKind::Destroy);
        for (int i = 0; i < 50; ++i) platform::IdleStep();
    }
    if (FrameCount > 10) platform::PostMessage(platform::MessageKind::Quit, 99);  // runaway guard
    return 1;
}

TEST_F(Shell, MessagePostedInsideANestedLoopWaitsForTheLoop) {
    FrameCount = 0;
    // Pass 1 runs the nested loop; pass 2 takes the destroy message (which
    // posts the quit message) and still runs its frame; pass 3 takes quit.
    EXPECT_EQ(RunMessageLoop(NestedLoopFrame), 0);
    EXPECT_EQ(FrameCount, 2);
}

TEST_F(Shell, CloseRequestEndsTheLoopWithStatusZero) {
    FrameCount = 0;
    platform::PostMessage(platform::MessageKind::Close);
    EXPECT_EQ(RunMessageLoop(CountingFrame), 0);
    // Close destroys at once; the quit message it leads to is taken next pass.
    EXPECT_EQ(FrameCount, 1);
}

TEST_F(Shell, OneMessageAPass) {
    FrameCount = 0;
    platform::PostMessage(platform::MessageKind::Paint);
    platform::PostMessage(platform::MessageKind::Paint);
    platform::PostMessage(platform::MessageKind::Quit, 3);
    EXPECT_EQ(RunMessageLoop(CountingFrame), 3);
    EXPECT_EQ(FrameCount, 2);
}

TEST_F(Shell, FrameClockWaitsAtLeastItsTime) {
    const uint32_t start = StartFrameClock();
    WaitFrameClock(33);
    EXPECT_EQ(platform::TickCount() - start, 33u);
}

TEST_F(Shell, LateWaitReturnsAtOnce) {
    StartFrameClock();
    platform::Sleep(50);
    const uint32_t before = platform::TickCount();
    WaitFrameClock(33);
    EXPECT_EQ(platform::TickCount(), before);
}

TEST_F(Shell, TickWrapDoesNotLengthenTheWait) {
    headless::Options options;
    options.startTick = 0xFFFFFFF0u;  // wraps 16 ms in
    Start("", options);
    const uint32_t start = StartFrameClock();
    WaitFrameClock(33);
    EXPECT_EQ(static_cast<uint32_t>(platform::TickCount() - start), 33u);
    EXPECT_LT(platform::TickCount(), 0x100u);
    EXPECT_EQ(headless::VirtualMs(), 33u);
}

TEST_F(Shell, RandomNumbersStayInRangeAndRepeatForASeed) {
    SeedRandom(1700000000u);
    std::vector<int32_t> first;
    for (int i = 0; i < 1000; ++i) {
        const int32_t n = NextRandom();
        ASSERT_GE(n, 0);
        ASSERT_LE(n, RANDOM_MAX);
        first.push_back(n);
    }
    SeedRandom(1700000000u);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(NextRandom(), first[i]);
    // Both parities and every residue mod 5 turn up: the serve and the split
    // chance depend on them.
    int odd = 0, fives[5] = {};
    for (int32_t n : first) {
        odd += n & 1;
        ++fives[n % 5];
    }
    EXPECT_GT(odd, 400);
    EXPECT_LT(odd, 600);
    for (int r = 0; r < 5; ++r) EXPECT_GT(fives[r], 150) << r;
}

TEST_F(Shell, ReseedingFromTheClockRepeatsWithinASecond) {
    SeedRandomFromClock();
    const int32_t a = NextRandom();
    platform::Sleep(300);
    SeedRandomFromClock();
    EXPECT_EQ(NextRandom(), a);
}

}  // namespace
