#include "input/key_capture.h"

#include "input/input.h"
#include "input/key_codes.h"
#include "input/key_names.h"
#include "platform/platform.h"

uint8_t NotedKey = 0;

void CaptureKey(const uint8_t* keyState) {
    // Every row is tested, so the highest held code is noted last and wins.
    for (const KeyNameRow& row : KeyNameTable) {
        if (keyState[row.code] != 0) NotedKey = row.code;
    }
}

int32_t WaitForKey() {
    NotedKey = 0;
    for (;;) {
        ReadKeyboard();
        CaptureKey(KeyState);
        // Escape is noted like any key but can be neither bound nor a way out.
        if (NotedKey > DIK_ESCAPE) return NotedKey;
        if (platform::CloseRequested()) return 0;
        platform::IdleStep();
    }
}
