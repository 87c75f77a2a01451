// Virtual time, the script's events and polling without idling.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/headless_test.h"

namespace {

using Headless = support::HeadlessTest;

TEST_F(Headless, SleepAndIdleAdvanceVirtualTimeExactly) {
    headless::Options options;
    options.startTick = 1000;
    options.epoch = 1700000000;
    Start("", options);
    EXPECT_EQ(platform::TickCount(), 1000u);
    platform::Sleep(5000);
    EXPECT_EQ(headless::VirtualMs(), 5000u);
    EXPECT_EQ(platform::TickCount(), 6000u);
    platform::IdleStep();
    platform::IdleStep();
    EXPECT_EQ(platform::TickCount(), 6002u);
    EXPECT_EQ(platform::CalendarSeconds(), 1700000005);
    EXPECT_EQ(recorder.Log(true), (std::vector<std::string>{"0 sleep 5000"}));
}

TEST_F(Headless, TickCountWrapsAt32Bits) {
    headless::Options options;
    options.startTick = 0xFFFFFFF0u;
    Start("", options);
    platform::Sleep(0x20);
    EXPECT_EQ(platform::TickCount(), 0x10u);
}

TEST_F(Headless, ScriptEventsLandAtTheirTimeInsideALongSleep) {
    // A key pressed at 100 and released at 200: a sleep across both leaves
    // it to be read as a tap, once; a shot in between catches the moment.
    Start(
        "# comment line\n"
        "\n"
        "100 key 57 down   # space\n"
        "150 shot mid.bmp\n"
        "200 key 57 up\n"
        "300 key 16 down\n");
    platform::Sleep(250);
    uint8_t keys[256];
    platform::ReadKeyboard(keys);
    EXPECT_EQ(keys[57], 0x80);
    EXPECT_EQ(keys[16], 0);
    ASSERT_EQ(recorder.Log().size(), 2u);
    EXPECT_EQ(recorder.Log(true)[1], "150 shot mid.bmp 640x480");
    platform::Sleep(50);
    platform::ReadKeyboard(keys);
    EXPECT_EQ(keys[57], 0);
    EXPECT_EQ(keys[16], 0x80);
}

TEST_F(Headless, EventsAtTimeZeroApplyBeforeTheFirstRead) {
    Start("0 key 1 down\n0 close\n");
    EXPECT_TRUE(platform::EscapeDown());
    platform::Message m;
    ASSERT_TRUE(platform::PeekMessage(m));
    EXPECT_EQ(m.kind, platform::MessageKind::Close);
}

TEST_F(Headless, PollingWithoutIdlingStillMovesTime) {
    Start("5 key 2 down\n");
    uint8_t keys[256] = {};
    int reads = 0;
    // A menu loop that forgot to idle: it must still see the key.
    while (keys[2] == 0 && reads < 100000) {
        platform::ReadKeyboard(keys);
        ++reads;
    }
    EXPECT_EQ(keys[2], 0x80);
    EXPECT_GE(headless::VirtualMs(), 5u);
    // Nor does a loop on the tick count alone hang.
    const uint32_t start = platform::TickCount();
    int polls = 0;
    while (platform::TickCount() - start < 3 && polls < 100000) ++polls;
    EXPECT_LT(polls, 100000);
}

TEST_F(Headless, UntilIsReportedOnceWhenTimeReachesIt) {
    headless::Options options;
    options.untilMs = 1500;
    Start("1500 key 3 down\n", options);
    platform::Sleep(1000);
    EXPECT_EQ(recorder.Log(true).back(), "0 sleep 1000");
    platform::Sleep(1000);
    EXPECT_EQ(recorder.Log(true),
              (std::vector<std::string>{"0 sleep 1000", "1000 sleep 1000", "1500 until 1500"}));
    // The event due at the limit was applied before the limit was reported.
    uint8_t keys[256];
    platform::ReadKeyboard(keys);
    EXPECT_EQ(keys[3], 0x80);
    platform::Sleep(1000);
    EXPECT_EQ(recorder.Log(true).back(), "2000 sleep 1000");
}

TEST_F(Headless, MouseMotionAccumulatesUntilRead) {
    Start("10 mouse 5 -2\n20 mouse 100 0\n20 button 0 down\n");
    platform::CaptureMouse(true);
    platform::Sleep(30);
    platform::MouseReading m{};
    platform::ReadMouse(m);
    EXPECT_EQ(m.x, 105);
    EXPECT_EQ(m.y, -2);
    EXPECT_EQ(m.buttons[0], 0x80);
    EXPECT_EQ(m.buttons[1], 0);
    platform::ReadMouse(m);
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
    EXPECT_EQ(m.buttons[0], 0x80);
    headless::AddMouseMotion(INT32_MAX, 0);
    headless::AddMouseMotion(INT32_MAX, 0);
    platform::ReadMouse(m);
    EXPECT_EQ(m.x, INT32_MAX);
}

TEST_F(Headless, MotionWhileTheMouseIsReleasedIsLost) {
    Start("10 mouse 5 0\n30 mouse 7 0\n50 mouse 11 0\n");
    platform::MouseReading m{};
    platform::Sleep(20);  // released from the start: the 5 is lost
    platform::CaptureMouse(true);
    platform::Sleep(20);  // the 7 comes while captured but is not read
    platform::CaptureMouse(false);
    platform::CaptureMouse(true);
    platform::Sleep(20);
    platform::ReadMouse(m);
    EXPECT_EQ(m.x, 11);
}

TEST_F(Headless, PadsFollowTheScript) {
    Start(
        "10 pad 1 added\n"
        "20 pad 1 button start down\n"
        "20 pad 1 axis leftx -32768\n"
        "20 pad 1 axis righttrigger 32767\n"
        "30 pad 1 removed\n"
        "40 pad 1 added\n");
    platform::PadReading pad{};
    EXPECT_FALSE(platform::ReadPad(1, pad));
    platform::Sleep(10);
    EXPECT_TRUE(platform::ReadPad(1, pad));
    EXPECT_TRUE(pad.connected);
    EXPECT_FALSE(platform::ReadPad(0, pad));
    EXPECT_FALSE(pad.connected);
    platform::Sleep(10);
    ASSERT_TRUE(platform::ReadPad(1, pad));
    EXPECT_EQ(pad.buttons[static_cast<int>(platform::PadButton::Start)], 0x80);
    EXPECT_EQ(pad.buttons[static_cast<int>(platform::PadButton::A)], 0);
    EXPECT_EQ(pad.axes[static_cast<int>(platform::PadAxis::LeftX)], -32768);
    EXPECT_EQ(pad.axes[static_cast<int>(platform::PadAxis::TriggerRight)], 32767);
    platform::Sleep(10);
    EXPECT_FALSE(platform::ReadPad(1, pad));
    // Plugged in again, it starts at rest.
    platform::Sleep(10);
    ASSERT_TRUE(platform::ReadPad(1, pad));
    EXPECT_EQ(pad.buttons[static_cast<int>(platform::PadButton::Start)], 0);
    EXPECT_EQ(pad.axes[static_cast<int>(platform::PadAxis::LeftX)], 0);
    EXPECT_FALSE(platform::ReadPad(platform::MaxPads, pad));
}

TEST_F(Headless, MessagesComeOutInOrderAndOnlyQuitCarriesACode) {
    ASSERT_TRUE(platform::CreateGameWindow("Volleen", "none.bmp", nullptr));
    platform::PostMessage(platform::MessageKind::Destroy, 5);
    platform::PostMessage(platform::MessageKind::Quit, 7);
    // Making the window queues nothing of its own.
    platform::Message m;
    ASSERT_TRUE(platform::PeekMessage(m));
    EXPECT_EQ(m.kind, platform::MessageKind::Destroy);
    EXPECT_EQ(m.code, 0);
    ASSERT_TRUE(platform::PeekMessage(m));
    EXPECT_EQ(m.kind, platform::MessageKind::Quit);
    EXPECT_EQ(m.code, 7);
    EXPECT_FALSE(platform::PeekMessage(m));
}

TEST_F(Headless, ConfigureStartsAfresh) {
    headless::SetKey(30, true);
    platform::CaptureMouse(true);
    headless::AddMouseMotion(4, 4);
    headless::SetPadConnected(0, true);
    platform::PostMessage(platform::MessageKind::Paint);
    platform::Sleep(700);
    Start();
    EXPECT_EQ(headless::VirtualMs(), 0u);
    uint8_t keys[256];
    platform::ReadKeyboard(keys);
    EXPECT_EQ(keys[30], 0);
    platform::MouseReading m{};
    platform::ReadMouse(m);
    EXPECT_EQ(m.x, 0);
    headless::AddMouseMotion(4, 4);  // released again
    platform::CaptureMouse(true);
    platform::ReadMouse(m);
    EXPECT_EQ(m.x, 0);
    platform::PadReading pad{};
    EXPECT_FALSE(platform::ReadPad(0, pad));
    platform::Message message;
    EXPECT_FALSE(platform::PeekMessage(message));
}

TEST(Realtime, SleepTakesRealTimeAndTicksFollowTheClock) {
    headless::Options options;
    options.realtime = true;
    options.scriptText = "0 key 5 down\n";
    ASSERT_TRUE(headless::Configure(options, nullptr));
    const uint32_t before = platform::TickCount();
    platform::Sleep(20);
    EXPECT_GE(platform::TickCount() - before, 20u);
    uint8_t keys[256];
    platform::ReadKeyboard(keys);
    EXPECT_EQ(keys[5], 0x80);
}

}  // namespace
