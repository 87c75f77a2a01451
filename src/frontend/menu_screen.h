// The main menu's picture: the title with the players' keys and the music
// setting written over it, straight onto the visible screen.
#pragma once

void DrawMenuScreen();
