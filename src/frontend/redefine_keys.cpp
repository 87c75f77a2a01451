#include "frontend/redefine_keys.h"

#include "common/layout.h"
#include "frontend/key_bindings.h"
#include "frontend/menu_screen.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/input.h"
#include "input/key_capture.h"
#include "input/key_codes.h"
#include "input/key_names.h"
#include "platform/platform.h"

namespace {

struct RedefineAction {
    const char* label;
    int32_t y;
    uint8_t* field;
};

const RedefineAction RedefineActions[4] = {
    {"Player 1 Left", 200, &Player1Left},
    {"Player 1 Right", 220, &Player1Right},
    {"Player 2 Left", 240, &Player2Left},
    {"Player 2 Right", 260, &Player2Right},
};

}  // namespace

int32_t RedefineKeys() {
    DrawTextIndexed("Enter a new key for the corresponding action", 160, 160, LABEL_COLOUR,
                    PrimarySurface);
    for (const RedefineAction& action : RedefineActions) {
        DrawTextIndexed(action.label, 210, action.y, LABEL_COLOUR, PrimarySurface);
        platform::Sleep(200);
        const int32_t code = WaitForKey();
        // Closed half-way: keys.dat keeps the keys it had.
        if (code == 0) return 1;
        *action.field = static_cast<uint8_t>(code);
        KeyName(code, TextBuffer, sizeof TextBuffer);
        DrawTextIndexed(TextBuffer, 320, action.y, CAUGHT_KEY_COLOUR, PrimarySurface);
    }
    DrawTextIndexed("Press ESCAPE to go back to the main menu..", 160, 300, LABEL_COLOUR,
                    PrimarySurface);
    SaveKeyBindings();

    for (;;) {
        ReadKeyboard();
        if (KeyState[DIK_ESCAPE] != 0 || platform::CloseRequested()) break;
        platform::IdleStep();
    }

    FillSurface(PrimarySurface, 0);
    DrawMenuScreen();
    return 1;
}
