// What pads do on the screens the end-to-end scenarios do not reach.
#include "input/pads.h"

#include <gtest/gtest.h>

#include "frontend/key_bindings.h"
#include "input/controls.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "match/match.h"
#include "match/match_input.h"
#include "platform/headless/headless.h"
#include "support/headless_test.h"

namespace {

using platform::PadAxis;
using platform::PadButton;

class Pads : public support::HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        InputInit();
        KeyboardInit();
        MouseInit();
        Player1Left = DIK_LEFT;
        Player1Right = DIK_RIGHT;
        SetControls(Controls::Still);
        for (int pad = 0; pad < 2; ++pad) {
            headless::SetPadConnected(pad, true);
            headless::SetPadButton(pad, PadButton::A, true);
            headless::SetPadButton(pad, PadButton::Start, true);
            headless::SetPadAxis(pad, PadAxis::LeftX, -32768);
        }
    }
    void TearDown() override {
        SetControls(Controls::Still);
        KeyboardShutdown();
        MouseShutdown();
        InputShutdown();
        HeadlessTest::TearDown();
    }
};

bool NoKeyHeld() {
    for (uint8_t key : KeyState) {
        if (key != 0) return false;
    }
    return true;
}

TEST_F(Pads, StillScreensIgnorePadsAndFreeTheMouse) {
    // Logos, key redefinition, final scores, credits: nothing a pad holds counts,
    // and mouse motion is not the game's.
    for (int32_t mode : {MODE_AGAINST_COMPUTER, MODE_TWO_PLAYERS}) {
        GameMode = mode;
        headless::AddMouseMotion(25, 0);
        EXPECT_EQ(ReadKeyboard(), 1);
        EXPECT_TRUE(NoKeyHeld());
        EXPECT_EQ(ReadMouse(), 1);
        EXPECT_EQ(MouseState.x, 0);
        EXPECT_EQ(MouseState.buttons[0], 0);
        EXPECT_FALSE(EscapeHeld());
    }
}

TEST_F(Pads, OnePlayerMatchListensToTheFirstPadOnly) {
    GameMode = MODE_AGAINST_COMPUTER;
    headless::SetPadConnected(0, false);
    SetControls(Controls::Match);
    headless::AddMouseMotion(25, 0);
    ReadMatchInput();
    EXPECT_TRUE(NoKeyHeld());  // no keys in mode 1: the second pad's stick is not Player 2's
    EXPECT_EQ(MouseState.x, 25);
    EXPECT_EQ(MouseState.buttons[0], 0);

    headless::SetPadConnected(0, true);
    headless::SetPadAxis(0, PadAxis::LeftX, -32768);
    headless::SetPadButton(0, PadButton::A, true);
    ReadMatchInput();
    EXPECT_EQ(MouseState.x, -PadMouseSpeed);
    EXPECT_EQ(MouseState.buttons[0], 0x80);
}

}  // namespace
