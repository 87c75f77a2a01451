#pragma once

#include <string>

namespace gen {

// Loads the game's pictures from `dataFolder`, sets up a new match in `mode`
// (1 or 2) on background `court` (0 to 5) waiting for its first serve, and
// saves the screen as an 8-bit bitmap file. False when anything fails.
bool DrawCourtPicture(const std::string& dataFolder, int court, int mode,
                      const std::string& outFile);

}  // namespace gen
