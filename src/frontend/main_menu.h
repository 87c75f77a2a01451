// The main menu, and the way out through the credits.
#pragma once

#include <cstdint>

int32_t MainMenu();
int32_t QuitWithCredits();
