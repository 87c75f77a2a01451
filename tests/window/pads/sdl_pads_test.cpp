// The SDL backend's gamepads, with SDL's virtual joysticks standing in for
// real pads: plugging in and out, numbering, buttons and axes as the game
// reads them. The window goes to SDL's dummy video driver: no screen needed.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"

namespace {

using platform::PadAxis;
using platform::PadButton;

// A virtual pad with every button and axis a game controller has, which SDL
// maps as a game controller by itself.
SDL_JoystickID Plug(const char* name) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = name;
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(device, 0) << SDL_GetError();
    return SDL_JoystickGetDeviceInstanceID(device);
}

int DeviceOf(SDL_JoystickID id) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    }
    return -1;
}

void Unplug(SDL_JoystickID id) { ASSERT_EQ(SDL_JoystickDetachVirtual(DeviceOf(id)), 0); }

// The game learns of plugging through its event pump, which every wait runs.
void Pump() { platform::Sleep(2); }

platform::PadReading Read(int32_t index) {
    platform::PadReading reading{};
    const bool there = platform::ReadPad(index, reading);
    EXPECT_EQ(there, reading.connected);
    return reading;
}

class SdlPads : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // The dummy window may never have focus; pads must still be read.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        std::string why;
        ASSERT_TRUE(platform::CreateGameWindow("Volleen", nullptr, &why)) << why;
    }
    void TearDown() override { platform::DestroyGameWindow(); }
};

TEST_F(SdlPads, TwoPadsPluggedInReadAndPulledOut) {
    Pump();
    EXPECT_FALSE(Read(0).connected);

    const SDL_JoystickID first = Plug("first pad");
    const SDL_JoystickID second = Plug("second pad");
    Pump();
    ASSERT_TRUE(Read(0).connected);
    ASSERT_TRUE(Read(1).connected);

    SDL_Joystick* one = SDL_JoystickFromInstanceID(first);
    SDL_Joystick* two = SDL_JoystickFromInstanceID(second);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    SDL_JoystickSetVirtualButton(one, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(one, SDL_CONTROLLER_BUTTON_START, 1);
    SDL_JoystickSetVirtualAxis(one, SDL_CONTROLLER_AXIS_LEFTX, -20000);
    SDL_JoystickSetVirtualButton(two, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    SDL_JoystickSetVirtualAxis(two, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    Pump();  // the reads of one frame agree: a change shows after a wait

    const platform::PadReading a = Read(0);
    EXPECT_EQ(a.buttons[static_cast<int>(PadButton::A)], 0x80);
    EXPECT_EQ(a.buttons[static_cast<int>(PadButton::Start)], 0x80);
    EXPECT_EQ(a.buttons[static_cast<int>(PadButton::B)], 0);
    EXPECT_EQ(a.buttons[static_cast<int>(PadButton::DpadRight)], 0);
    EXPECT_EQ(a.axes[static_cast<int>(PadAxis::LeftX)], -20000);
    EXPECT_EQ(a.axes[static_cast<int>(PadAxis::LeftY)], 0);
    const platform::PadReading b = Read(1);
    EXPECT_EQ(b.buttons[static_cast<int>(PadButton::DpadRight)], 0x80);
    EXPECT_EQ(b.buttons[static_cast<int>(PadButton::A)], 0);
    EXPECT_EQ(b.axes[static_cast<int>(PadAxis::LeftX)], 32767);

    // Released buttons read as released.
    SDL_JoystickSetVirtualButton(one, SDL_CONTROLLER_BUTTON_A, 0);
    Pump();
    EXPECT_EQ(Read(0).buttons[static_cast<int>(PadButton::A)], 0);

    // The first pulled out: the second keeps its number, and a new pad takes
    // the free one, at rest.
    Unplug(first);
    Pump();
    EXPECT_FALSE(Read(0).connected);
    EXPECT_TRUE(Read(1).connected);
    EXPECT_EQ(Read(1).buttons[static_cast<int>(PadButton::DpadRight)], 0x80);
    const SDL_JoystickID third = Plug("third pad");
    Pump();
    const platform::PadReading c = Read(0);
    EXPECT_TRUE(c.connected);
    EXPECT_EQ(c.buttons[static_cast<int>(PadButton::Start)], 0);
    Unplug(second);
    Unplug(third);
    Pump();
    EXPECT_FALSE(Read(0).connected);
    EXPECT_FALSE(Read(1).connected);
}

TEST_F(SdlPads, ATapBetweenTwoFramesCountsInOneFrameForEveryRead) {
    const SDL_JoystickID id = Plug("tapped pad");
    Pump();
    SDL_Joystick* pad = SDL_JoystickFromInstanceID(id);
    ASSERT_NE(pad, nullptr);
    constexpr int A = static_cast<int>(PadButton::A);
    EXPECT_EQ(Read(0).buttons[A], 0);

    // Pressed in one pump and let go in the next, both inside the frame's wait.
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    Pump();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    Pump();
    EXPECT_EQ(Read(0).buttons[A], 0x80);
    EXPECT_EQ(Read(0).buttons[A], 0x80);  // Escape, then the players: both see it
    Pump();
    EXPECT_EQ(Read(0).buttons[A], 0);  // and the next frame does not

    // A press the frame's first read finds by itself counts in that frame only.
    Pump();
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(Read(0).buttons[A], 0x80);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
    EXPECT_EQ(Read(0).buttons[A], 0x80);  // the frame's sample holds
    Pump();
    EXPECT_EQ(Read(0).buttons[A], 0);
    Unplug(id);
    Pump();
}

}  // namespace
