// The input a frame of play reads: the keyboard and the mouse, with the pads
// standing in for the players they belong to.
#pragma once

// Reads KeyState and MouseState, then lets pad 1 hold the bottom player's
// keys and pad 2 the top player's (two players), or pad 1 move and click the
// mouse (against the computer). Against the computer Player 1's keys and
// Space move and click the mouse as well.
void ReadMatchInput();
