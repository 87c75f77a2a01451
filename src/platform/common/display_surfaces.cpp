// The two display surfaces and the palette, shared by every backend.
#include <cstring>
#include <utility>

#include "platform/common/surface.h"

namespace platform::display {

Surface* Primary = nullptr;
Surface* Back = nullptr;
uint8_t Palette[1024] = {};

bool Open(int32_t width, int32_t height, std::string* why) {
    Close();
    Primary = CreateSurface(width, height);
    Back = CreateSurface(width, height);
    if (Primary == nullptr || Back == nullptr) {
        Close();
        SetWhy(why, "the display surfaces could not be made");
        return false;
    }
    std::memset(Palette, 0, sizeof Palette);
    return true;
}

void Close() {
    ReleaseSurface(Primary);
    ReleaseSurface(Back);
    Primary = nullptr;
    Back = nullptr;
}

bool Exchange() {
    if (Primary == nullptr || Back == nullptr) return false;
    if (Primary->locked || Back->locked) return false;
    // The handles stay put: the game keeps its PrimarySurface and BackSurface
    // for the whole run, only the pictures change places.
    std::swap(Primary->pixels, Back->pixels);
    show::PictureReplaced();
    // The visible surface last, so that the show rule hears of the new
    // picture as the last change, not of the back buffer after it.
    Touch(Back);
    Touch(Primary);
    return true;
}

}  // namespace platform::display
