// The entry point, the window procedure and the message and frame loop.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The entry point: opens the window, runs GameInit, the loop and
// GameShutdown. Returns the quit message's code, or 1 when the window could
// not be created (with one line on stderr saying why).
int32_t WinMain();

// Opens the game window (one line on stderr when it cannot be).
bool OpenGameWindow();

// Takes at most one window message, then runs `frame` once, pass after pass,
// until the quit message; returns its code.
int32_t RunMessageLoop(int32_t (*frame)());

// One pass's frame: a frame of play, and the fade and the main menu when the
// frame says the match was left with Escape or is over. Returns the frame's
// outcome (a FRAME_ value).
int32_t FrameStep();

// Online (OnlineSide set): meets the other side and starts the first match;
// false when that could not be (OnlineEnding says why, "" when the player
// chose the menu instead).
bool StartOnline();
// The loop's frame while a session is on (then a local FrameStep).
int32_t OnlineFrameStep();
// The frame after which the runner's --net-desync-at puts this side out of
// step; never by default.
extern uint32_t OnlineDesyncAt;

// The game window's message handling.
void WindowProc(const platform::Message& message);
