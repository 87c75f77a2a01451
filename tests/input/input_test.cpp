// Keyboard and mouse records over the headless backend.
#include "input/input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "input/key_codes.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/headless_test.h"

namespace {

bool AllZero(const void* bytes, size_t size) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < size; i++) {
        if (p[i] != 0) return false;
    }
    return true;
}

void Scribble() {
    std::memset(KeyState, 0x80, sizeof KeyState);
    std::memset(&MouseState, 0x7F, sizeof MouseState);
}

class Input : public support::HeadlessTest {
protected:
    void SetUp() override {
        TearDown();
        HeadlessTest::SetUp();
        platform::CaptureMouse(true);  // as in a match: motion reaches the reads
    }
    void TearDown() override {
        KeyboardShutdown();
        MouseShutdown();
        InputShutdown();
        HeadlessTest::TearDown();
    }
    void SetUpAll() {
        ASSERT_EQ(InputInit(), 1);
        ASSERT_EQ(KeyboardInit(), 1);
        ASSERT_EQ(MouseInit(), 1);
    }
};

TEST_F(Input, HeldKeysAndButtonsShowInTheRecords) {
    SetUpAll();
    headless::SetKey(DIK_A, true);
    headless::SetKey(DIK_LEFT, true);
    headless::SetButton(0, true);
    EXPECT_EQ(ReadKeyboard(), 1);
    EXPECT_NE(KeyState[DIK_A], 0);
    EXPECT_NE(KeyState[DIK_LEFT], 0);
    EXPECT_EQ(KeyState[DIK_D], 0);
    EXPECT_EQ(ReadMouse(), 1);
    EXPECT_EQ(MouseState.buttons[0], 0x80);
    EXPECT_EQ(MouseState.buttons[1], 0);
    // Released keys read as released: a key is held only as long as a read sees it.
    headless::SetKey(DIK_A, false);
    headless::SetButton(0, false);
    ReadKeyboard();
    ReadMouse();
    EXPECT_EQ(KeyState[DIK_A], 0);
    EXPECT_NE(KeyState[DIK_LEFT], 0);
    EXPECT_EQ(MouseState.buttons[0], 0);
}

TEST_F(Input, AKeyPressedAndReleasedBetweenReadsIsSeenOnce) {
    SetUpAll();
    ReadKeyboard();
    headless::SetKey(DIK_SPACE, true);
    headless::SetKey(DIK_SPACE, false);
    headless::SetButton(0, true);
    headless::SetButton(0, false);
    EXPECT_EQ(ReadKeyboard(), 1);
    EXPECT_EQ(KeyState[DIK_SPACE], 0x80);
    EXPECT_EQ(ReadMouse(), 1);
    EXPECT_EQ(MouseState.buttons[0], 0x80);
    ReadKeyboard();
    ReadMouse();
    EXPECT_EQ(KeyState[DIK_SPACE], 0);
    EXPECT_EQ(MouseState.buttons[0], 0);
}

TEST_F(Input, MotionMadeWhileNobodyReadsArrivesWholeAtTheNextRead) {
    SetUpAll();
    headless::AddMouseMotion(30, 5);
    headless::AddMouseMotion(-7, 2);
    headless::AddMouseMotion(400, -1);
    ASSERT_EQ(ReadMouse(), 1);
    EXPECT_EQ(MouseState.x, 423);
    EXPECT_EQ(MouseState.y, 6);
    // Counted since the previous read: nothing more has moved.
    ASSERT_EQ(ReadMouse(), 1);
    EXPECT_EQ(MouseState.x, 0);
    EXPECT_EQ(MouseState.y, 0);
}

TEST_F(Input, AbsentDevicesGiveAllZeroRecords) {
    // Never set up.
    headless::SetKey(DIK_ESCAPE, true);
    headless::AddMouseMotion(50, 50);
    headless::SetButton(0, true);
    Scribble();
    EXPECT_EQ(ReadKeyboard(), 0);
    EXPECT_EQ(ReadMouse(), 0);
    EXPECT_TRUE(AllZero(KeyState, sizeof KeyState));
    EXPECT_TRUE(AllZero(&MouseState, sizeof MouseState));
}

TEST_F(Input, DevicesNeedTheInputSystem) {
    headless::SetKey(DIK_Q, true);
    headless::AddMouseMotion(9, 0);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(KeyboardInit(), 0);
    EXPECT_EQ(MouseInit(), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("volleen: no keyboard"), std::string::npos) << said;
    EXPECT_NE(said.find("volleen: no mouse"), std::string::npos) << said;
    EXPECT_FALSE(KeyboardDevice);
    EXPECT_FALSE(MouseDevice);
    Scribble();
    EXPECT_EQ(ReadKeyboard(), 0);
    EXPECT_EQ(ReadMouse(), 0);
    EXPECT_TRUE(AllZero(KeyState, sizeof KeyState));
    EXPECT_TRUE(AllZero(&MouseState, sizeof MouseState));
}

TEST_F(Input, ADeviceShutDownIsAbsentAgain) {
    SetUpAll();
    headless::SetKey(DIK_M, true);
    headless::AddMouseMotion(3, 3);
    ASSERT_EQ(ReadKeyboard(), 1);
    ASSERT_NE(KeyState[DIK_M], 0);
    KeyboardShutdown();
    MouseShutdown();
    EXPECT_FALSE(KeyboardDevice);
    EXPECT_FALSE(MouseDevice);
    EXPECT_EQ(ReadKeyboard(), 0);
    EXPECT_EQ(ReadMouse(), 0);
    EXPECT_TRUE(AllZero(KeyState, sizeof KeyState));
    EXPECT_TRUE(AllZero(&MouseState, sizeof MouseState));
    // A second shut-down, and the input system's after its devices, do nothing harmful.
    KeyboardShutdown();
    MouseShutdown();
    InputShutdown();
    EXPECT_FALSE(InputSystem);
    EXPECT_EQ(KeyboardInit(), 0);
}

TEST_F(Input, OneDeviceWorksWithoutTheOther) {
    ASSERT_EQ(InputInit(), 1);
    ASSERT_EQ(MouseInit(), 1);
    headless::SetKey(DIK_U, true);
    headless::AddMouseMotion(-12, 0);
    EXPECT_EQ(ReadKeyboard(), 0);
    EXPECT_EQ(KeyState[DIK_U], 0);
    EXPECT_EQ(ReadMouse(), 1);
    EXPECT_EQ(MouseState.x, -12);
}

}  // namespace
