// The asset generator: every picture and sound of the game, drawn and
// synthesised here. Each writer puts its files into `folder` and returns
// false when a file could not be written.
#pragma once

#include <string>

namespace gen {

bool WriteSprites(const std::string& folder);  // ball, paddles, window icon
bool WriteCourts(const std::string& folder);   // the six match backgrounds
bool WriteTitle(const std::string& folder);    // the main menu picture
bool WriteScreens(const std::string& folder);  // the two start-up screens and the credits
bool WriteEffects(const std::string& folder);  // the five one-shot sounds
bool WriteTunes(const std::string& folder);    // the menu tune and the match music

// The icon for the desktop: `folder` is a hicolor theme folder, which gets
// NxN/apps/volleen.png for every usual size.
bool WriteIconTheme(const std::string& folder);

// Joins a folder and a file name.
std::string InFolder(const std::string& folder, const char* name);

}  // namespace gen
