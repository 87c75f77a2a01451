#include "frontend/key_bindings.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/byte_order.h"
#include "common/file_limits.h"
#include "common/file_read.h"
#include "common/file_write.h"
#include "common/folders.h"
#include "common/layout.h"
#include "input/key_codes.h"
#include "input/key_names.h"

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

// A binding the game cannot name (the menu would show a blank) or Escape
// (it leaves the match) takes its default; music other than 0 or 1 is on.
// Only the settings in force change: the file stays as it is until the
// player changes one.
void MendOddBindings() {
    constexpr const char* Roles[4] = {"Player 1 left", "Player 1 right", "Player 2 left",
                                      "Player 2 right"};
    const uint8_t defaults[4] = {DIK_LEFT, DIK_RIGHT, DIK_A, DIK_D};
    for (int i = 0; i < 4; ++i) {
        char name[32] = "";
        KeyName(*BindingFields[i], name, sizeof name);
        if (name[0] != '\0' && *BindingFields[i] != DIK_ESCAPE) continue;
        char fallback[32] = "";
        KeyName(defaults[i], fallback, sizeof fallback);
        std::fprintf(stderr, "volleen: %s: %s is %d, %s; using %s\n", KeysFilePath.c_str(),
                     Roles[i], *BindingFields[i], name[0] == '\0' ? "which names no key" : "Escape",
                     fallback);
        *BindingFields[i] = defaults[i];
    }
    if (MusicOn != MUSIC_ON && MusicOn != MUSIC_OFF) {
        std::fprintf(stderr, "volleen: %s: music is %d, neither 0 nor 1; taken as on\n",
                     KeysFilePath.c_str(), MusicOn);
        MusicOn = MUSIC_ON;
    }
}

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
    MendOddBindings();
}

void SaveKeyBindings() {
    uint8_t bytes[KeysFileSize];
    for (int i = 0; i < 5; ++i) WriteLe32(bytes + i * 4, *BindingFields[i]);
    // Never torn: a failed or interrupted save leaves the old file whole. The
    // settings folder is made on the first save, private to the player.
    std::string why;
    if (!MakeParentFolders(KeysFilePath, 0700, &why) ||
        !WriteFileAtomically(KeysFilePath.c_str(), bytes, sizeof bytes, &why)) {
        std::fprintf(stderr, "volleen: cannot save %s: %s; the old file stays\n",
                     KeysFilePath.c_str(), why.c_str());
    }
}
