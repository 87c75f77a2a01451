// The window as the player last left it: full screen or a window, and the
// window's size. Kept in a small file of its own beside keys.dat, whose
// twenty bytes stay as they are.
#pragma once

#include <string>

#include "platform/platform.h"

extern std::string WindowSettingsPath;  // "window.cfg" beside keys.dat

// Takes the remembered window into `options`; the full-screen choice only
// when the command line made none. No file: nothing changes. A file that
// cannot be used is named in one line and changes nothing.
void LoadWindowSettings(platform::StartOptions* options, bool placeGiven);
// Once the window is open: how it started, to see a change at the end.
void NoteWindowAtStart();
// Before the window goes: writes the file when the player changed the
// window (Alt+Enter, a new size) since the start.
void SaveWindowSettings();
