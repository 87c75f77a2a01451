#include "frontend/menu_screen.h"

#include "common/layout.h"
#include "frontend/assets.h"
#include "frontend/key_bindings.h"
#include "graphics/bitmap_image.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/key_names.h"

namespace {

void DrawKeyName(uint8_t code, int32_t x, int32_t y) {
    // A code without a name (only a damaged keys.dat gives one) shows no word
    // rather than whatever an earlier caller left in the buffer.
    TextBuffer[0] = '\0';
    KeyName(code, TextBuffer, sizeof TextBuffer);
    DrawTextIndexed(TextBuffer, x, y, KEY_NAME_COLOUR, PrimarySurface);
}

}  // namespace

void DrawMenuScreen() {
    if (LockPrimary() != nullptr) {
        DrawBitmapImage(&TitleImage, PrimaryPixels, PrimaryPitch, 0);
        UnlockPrimary();
    }

    DrawKeyName(Player1Left, MENU_PLAYER1_X, MENU_LEFT_KEY_Y);
    DrawKeyName(Player1Right, MENU_PLAYER1_X, MENU_RIGHT_KEY_Y);
    DrawKeyName(Player2Left, MENU_PLAYER2_X, MENU_LEFT_KEY_Y);
    DrawKeyName(Player2Right, MENU_PLAYER2_X, MENU_RIGHT_KEY_Y);

    if (MusicOn == MUSIC_ON) {
        DrawTextIndexed("On", MENU_MUSIC_X, MENU_MUSIC_Y, KEY_NAME_COLOUR, PrimarySurface);
    } else if (MusicOn == MUSIC_OFF) {
        DrawTextIndexed("Off", MENU_MUSIC_X, MENU_MUSIC_Y, MUSIC_OFF_COLOUR, PrimarySurface);
    }
}
