// The pause of a match on the player's own machine: while the window is
// looked away from, or from a press of the Pause key to the next.
#pragma once

// Called before each frame of play: when the player has looked away or
// pressed Pause, shows "Paused" over the court and waits, idle, until the
// window is back and Pause is not in force, or a close request. The frame
// that follows starts its own clock, so none is skipped or rushed.
void PauseWhileAway();
