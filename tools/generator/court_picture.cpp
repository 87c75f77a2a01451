// A match frame on any court, drawn by the game itself on the headless
// display: the game never picks the sixth court, so its screenshot is made
// this way.
#include "court_picture.h"

#include <cstdio>
#include <filesystem>

#include "frontend/assets.h"
#include "graphics/bitmap_file.h"
#include "graphics/display.h"
#include "match/after_point.h"
#include "match/match.h"
#include "match/match_display.h"

namespace gen {

bool DrawCourtPicture(const std::string& dataFolder, int court, int mode,
                      const std::string& outFile) {
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::path out = fs::absolute(outFile, failed);
    const fs::path back = fs::current_path(failed);
    fs::current_path(dataFolder, failed);
    if (failed || court < 0 || court > 5) return false;

    LoadAssets();
    // The menu and matches show in the ball picture's colours.
    LoadBitmapFile(&ScratchBitmap, "BALL3D8BIG.BMP");
    SetPalette(ScratchBitmap.palette);
    UnloadBitmapFile(&ScratchBitmap);

    GameMode = mode;
    NewMatch();
    BackgroundIndex = court;
    ServeAfterPoint();  // ball on the paddle, the frame flipped to the screen

    bool ok =
        LockPrimary() != nullptr && SaveBitmapFile(out.c_str(), PrimaryPixels, ScreenWidth,
                                                   ScreenHeight, PrimaryPitch, CurrentPalette) == 1;
    UnlockPrimary();
    fs::current_path(back, failed);
    return ok;
}

}  // namespace gen
