#include "frontend/key_bindings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/file_limits.h"
#include "common/file_read.h"
#include "common/file_write.h"
#include "common/layout.h"
#include "frontend/main_menu.h"
#include "graphics/display.h"
#include "graphics/text.h"
#include "input/input.h"
#include "input/key_codes.h"
#include "input/key_names.h"
#include "platform/platform.h"

uint8_t Player1Left = 0;
uint8_t Player1Right = 0;
uint8_t Player2Left = 0;
uint8_t Player2Right = 0;
uint8_t MusicOn = MUSIC_ON;
std::string KeysFilePath = "keys.dat";

namespace {

constexpr size_t KeysFileSize = 20;

uint8_t* const BindingFields[5] = {&Player1Left, &Player1Right, &Player2Left, &Player2Right,
                                   &MusicOn};

// The first run has no keys.dat yet: arrows for the bottom player, A and D
// for the top one, music on. Nothing is written until a setting changes.
void SetDefaultBindings() {
    Player1Left = DIK_LEFT;
    Player1Right = DIK_RIGHT;
    Player2Left = DIK_A;
    Player2Right = DIK_D;
    MusicOn = MUSIC_ON;
}

// The settings folder is made on the first save, private to the player.
bool MakeFoldersFor(const std::string& file, std::string* why) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
        const std::string folder = file.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            *why = "cannot make the folder " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

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

void LoadKeyBindings() {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(KeysFilePath.c_str(), MAX_KEYS_FILE_BYTES, &bytes, &why)) {
        // The first run has no keys.dat yet: nothing to say about that.
        if (why != NO_SUCH_FILE) {
            std::fprintf(stderr, "volleen: cannot read %s: %s; using the default keys\n",
                         KeysFilePath.c_str(), why.c_str());
        }
        SetDefaultBindings();
        return;
    }
    const size_t got = bytes.size();
    // Only the lowest byte of each little-endian integer counts. A file cut
    // short (a crash or a full disk can leave one) keeps what it holds and
    // the settings it lost take their defaults, so both players can still
    // play.
    SetDefaultBindings();
    for (int i = 0; i < 5; ++i) {
        const size_t at = static_cast<size_t>(i) * 4;
        if (at + 4 <= got) *BindingFields[i] = bytes[at];
    }
    if (got < KeysFileSize) {
        std::fprintf(stderr,
                     "volleen: %s is cut short (%zu of %zu bytes); the missing settings take "
                     "their defaults\n",
                     KeysFilePath.c_str(), got, KeysFileSize);
    }
}

void SaveKeyBindings() {
    uint8_t bytes[KeysFileSize];
    for (int i = 0; i < 5; ++i) WriteLe32(bytes + i * 4, *BindingFields[i]);
    // Never torn: a failed or interrupted save leaves the old file whole.
    std::string why;
    if (!MakeFoldersFor(KeysFilePath, &why) ||
        !WriteFileAtomically(KeysFilePath.c_str(), bytes, sizeof bytes, &why)) {
        std::fprintf(stderr, "volleen: cannot save %s: %s; the old file stays\n",
                     KeysFilePath.c_str(), why.c_str());
    }
}

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
        KeyName(code, TextBuffer);
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
