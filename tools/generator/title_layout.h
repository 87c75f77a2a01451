// Where the main menu's game-drawn words go (screen coordinates), shared by
// the title picture and the checks on it.
#pragma once

#include <vector>

#include "common/layout.h"

namespace gen {

constexpr int kTextHeight = 18;  // a line of the game's font, descenders included
constexpr int kPanelLeft = 44, kPanelRight = 614, kPanelTop = 182, kPanelBottom = 462;

struct TextArea {
    int x, y, width;
};

int WidestKeyName();
int WidestMusicWord();
std::vector<TextArea> TitleTextAreas();

}  // namespace gen
