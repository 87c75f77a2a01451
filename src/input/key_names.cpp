#include "input/key_names.h"

#include <cstring>

#include "input/input.h"
#include "platform/platform.h"

// Sized by its rows: the declaration in the header then checks the count.
const KeyNameRow KeyNameTable[] = {
    {1, "Escape"},
    {2, "1"},  // the digit alone, like every other key of the top row
    {3, "2"},
    {4, "3"},
    {5, "4"},
    {6, "5"},
    {7, "6"},
    {8, "7"},
    {9, "8"},
    {10, "9"},
    {11, "0"},
    {12, "-"},
    {13, "="},
    {14, "Backspace"},
    {15, "TAB"},
    {16, "Q"},
    {17, "W"},
    {18, "E"},
    {19, "R"},
    {20, "T"},
    {21, "Y"},
    {22, "U"},
    {23, "I"},
    {24, "O"},
    {25, "P"},
    {26, "["},
    {27, "]"},
    {28, "Enter"},
    {29, "Left Ctrl"},
    {30, "A"},
    {31, "S"},
    {32, "D"},
    {33, "F"},
    {34, "G"},
    {35, "H"},
    {36, "J"},
    {37, "K"},
    {38, "L"},
    {39, ";"},
    {40, "'"},
    {41, "`"},
    {42, "Left Shift"},
    {43, "Backslash"},
    {44, "Z"},
    {45, "X"},
    {46, "C"},
    {47, "V"},
    {48, "B"},
    {49, "N"},
    {50, "M"},
    {51, ","},
    {52, "."},
    {53, "/"},
    {54, "Right Shift"},
    {55, "*"},
    {56, "Left Alt"},
    {57, "Spacebar"},
    {58, "Caps Lock"},
    {59, "F1"},
    {60, "F2"},
    {61, "F3"},
    {62, "F4"},
    {63, "F5"},
    {64, "F6"},
    {65, "F7"},
    {66, "F8"},
    {67, "F9"},
    {68, "F10"},
    {69, "Num Lock"},
    {70, "Scroll Lock"},
    {71, "7 (on numpad)"},
    {72, "8 (on numpad)"},
    {73, "9 (on numpad)"},
    {74, "- (on numpad)"},
    {75, "4 (on numpad)"},
    {76, "5 (on numpad)"},
    {77, "6 (on numpad)"},
    {78, "+ (on numpad)"},
    {79, "1 (on numpad)"},
    {80, "2 (on numpad)"},
    {81, "3 (on numpad)"},
    {82, "0 (on numpad)"},
    {83, ". (on numpad)"},
    {87, "F11"},
    {88, "F12"},
    {100, "F13"},
    {101, "F14"},
    {156, "Enter (on numpad)"},
    {157, "Right Ctrl"},
    {179, "Comma (on numpad)"},
    {181, "/ (on numpad)"},
    {183, "Print Screen"},
    {184, "Right Alt"},
    {199, "Home"},
    {200, "Up arrow"},
    {201, "Page Up"},
    {203, "Left Arrow"},
    {205, "Right Arrow"},
    {207, "END"},
    {208, "Down Arrow"},
    {209, "Page Down"},
    {210, "Insert"},
    {211, "Delete"},
    {219, "Left Windows Key"},
    {220, "Right Windows Key"},
    {221, "Application Key"},
};

uint8_t NotedKey = 0;

void KeyName(int32_t code, char* buffer) {
    const uint8_t key = static_cast<uint8_t>(code & 0xFF);
    for (const KeyNameRow& row : KeyNameTable) {
        if (row.code == key) {
            std::strcpy(buffer, row.text);
            return;
        }
    }
}

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
