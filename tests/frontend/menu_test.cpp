// The main menu, the credits and the key redefinition screen, driven by
// scripted keys on the headless backend.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/layout.h"
#include "frontend/key_bindings.h"
#include "frontend/main_menu.h"
#include "frontend_fixture.h"
#include "graphics/display.h"
#include "match/match.h"

namespace {

using support::ReadFileBytes;
using support::TextEvent;
namespace fs = std::filesystem;

class Menu : public fe::GameUp {};

std::vector<uint8_t> KeysBytes(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint8_t music) {
    return {a, 0, 0, 0, b, 0, 0, 0, c, 0, 0, 0, d, 0, 0, 0, music, 0, 0, 0};
}

std::vector<std::string> Words(const std::vector<TextEvent>& texts) {
    std::vector<std::string> words;
    for (const TextEvent& t : texts) words.push_back(t.text);
    return words;
}

bool IsBlack(uint8_t index) {
    const PaletteEntry& e = CurrentPalette.entries[index];
    return e.red == 0 && e.green == 0 && e.blue == 0;
}

TEST_F(Menu, HoldingMSwitchesOncePerPressAndEachSwitchRewritesTheFile) {
    Start(
        "10 key 50 down\n"
        "100 key 50 up\n"
        "200 key 50 down\n"
        "300 key 50 up\n"
        "400 key 16 down\n");
    // keys.dat as it stands when each switch begins to redraw the word.
    std::vector<std::vector<uint8_t>> filesSeen;
    std::vector<bool> erasedInBlack;
    recorder.onText = [&](const TextEvent& t) {
        if (t.x != MENU_MUSIC_X || t.y != MENU_MUSIC_Y || t.index == MUSIC_OFF_COLOUR ||
            t.index == KEY_NAME_COLOUR)
            return;
        filesSeen.push_back(ReadFileBytes("keys.dat"));
        erasedInBlack.push_back(IsBlack(t.index));
    };
    EXPECT_EQ(MainMenu(), 1);

    const std::vector<TextEvent> words = recorder.TextsAt(MENU_MUSIC_X, MENU_MUSIC_Y);
    ASSERT_EQ(Words(words), (std::vector<std::string>{"On", "On", "Off", "Off", "On"}));
    EXPECT_EQ(words[0].index, KEY_NAME_COLOUR);
    EXPECT_EQ(words[2].index, MUSIC_OFF_COLOUR);
    EXPECT_EQ(words[4].index, KEY_NAME_COLOUR);
    EXPECT_EQ(erasedInBlack, (std::vector<bool>{true, true}));
    for (const TextEvent& t : words) EXPECT_TRUE(t.primary);
    // No file before the first switch (first run); the first switch saved
    // music off, the second music on.
    EXPECT_EQ(filesSeen, (std::vector<std::vector<uint8_t>>{{}, KeysBytes(203, 205, 30, 32, 0)}));
    EXPECT_EQ(ReadFileBytes("keys.dat"), KeysBytes(203, 205, 30, 32, 1));
    EXPECT_EQ(MusicOn, MUSIC_ON);
}

TEST_F(Menu, SwitchingTheMusicOffIsSavedAndNeitherStartsNorStopsATune) {
    Start(
        "10 key 50 down\n"
        "100 key 50 up\n"
        "400 key 16 down\n");
    MainMenu();
    EXPECT_EQ(MusicOn, MUSIC_OFF);
    EXPECT_EQ(ReadFileBytes("keys.dat"), KeysBytes(203, 205, 30, 32, 0));
    EXPECT_TRUE(recorder.Played("MENU.WAV", true));
    EXPECT_FALSE(recorder.Played("MUSIC.WAV", true));
    EXPECT_FALSE(recorder.Stopped("MENU.WAV"));
}

TEST_F(Menu, KeyOneStartsAMouseMatchWithMusicAndTheClickPrompt) {
    Start("10 key 2 down\n3000 key 2 up\n");
    Player1Score = 4;
    EXPECT_EQ(MainMenu(), 1);
    EXPECT_EQ(GameMode, MODE_AGAINST_COMPUTER);
    EXPECT_EQ(MatchState, MATCH_AWAITING_SERVE);
    EXPECT_EQ(ServingSide, SIDE_BOTTOM);
    EXPECT_EQ(Player1Score, 0);
    EXPECT_EQ(Ball1.x, 310);
    EXPECT_EQ(Ball1.y, 440);

    // The menu tune gives way to the music, looped.
    int menuStopped = -1, musicPlayed = -1;
    for (size_t i = 0; i < recorder.sounds.size(); ++i) {
        const auto& s = recorder.sounds[i];
        if (!s.play && s.name == "MENU.WAV" && menuStopped < 0) menuStopped = static_cast<int>(i);
        if (s.play && s.name == "MUSIC.WAV" && s.loop) musicPlayed = static_cast<int>(i);
    }
    EXPECT_GE(menuStopped, 0);
    EXPECT_GT(musicPlayed, menuStopped);

    const std::vector<TextEvent> prompt = recorder.TextsAt(265, 235);
    ASSERT_EQ(prompt.size(), 1u);
    EXPECT_EQ(prompt[0].text, "click to continue");
    EXPECT_FALSE(prompt[0].primary);
    EXPECT_FALSE(fe::DestroyPosted());
}

TEST_F(Menu, KeyTwoWithTheMusicOffStartsAKeyboardMatchInSilence) {
    support::WriteFileBytes("keys.dat", KeysBytes(30, 32, 36, 38, 0));
    Start("10 key 3 down\n3000 key 3 up\n");
    LoadKeyBindings();
    MainMenu();
    EXPECT_EQ(GameMode, MODE_TWO_PLAYERS);
    EXPECT_FALSE(recorder.Played("MUSIC.WAV", true));
    EXPECT_TRUE(recorder.Stopped("MENU.WAV"));
    const std::vector<TextEvent> prompt = recorder.TextsAt(235, 235);
    ASSERT_EQ(prompt.size(), 1u);
    EXPECT_EQ(prompt[0].text, "press space to continue");
    // The menu showed the file's keys, and "Off" for the music.
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER1_X, MENU_LEFT_KEY_Y)),
              (std::vector<std::string>{"A"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER1_X, MENU_RIGHT_KEY_Y)),
              (std::vector<std::string>{"D"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER2_X, MENU_LEFT_KEY_Y)),
              (std::vector<std::string>{"J"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER2_X, MENU_RIGHT_KEY_Y)),
              (std::vector<std::string>{"L"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_MUSIC_X, MENU_MUSIC_Y)),
              (std::vector<std::string>{"Off"}));
}

TEST_F(Menu, OneAndTwoTogetherEndInModeTwo) {
    Start("10 key 2 down\n10 key 3 down\n3000 key 2 up\n3000 key 3 up\n");
    MainMenu();
    EXPECT_EQ(GameMode, MODE_TWO_PLAYERS);
}

TEST_F(Menu, EscapeDoesNothingAndQShowsTheCreditsThenClosesTheWindow) {
    Start(
        "10 key 1 down\n"
        "500 key 1 up\n"
        "600 key 16 down\n"
        "700 key 16 up\n");
    MatchState = MATCH_BALL_IN_PLAY;
    EXPECT_EQ(MainMenu(), 1);
    EXPECT_EQ(recorder.EventsBetween(10, 600), 0u);
    EXPECT_EQ(MatchState, MATCH_EXITING);
    EXPECT_EQ(recorder.sleeps, (std::vector<uint32_t>{7000}));
    // The menu tune plays on through the credits.
    EXPECT_FALSE(recorder.Stopped("MENU.WAV"));
    EXPECT_TRUE(fe::DestroyPosted());
    // Credits between two fades: at least two fades of 80 steps, then 7 s.
    EXPECT_GE(recorder.palettes.size(), 160u);
}

TEST_F(Menu, AKeyWithoutANameAndADamagedMusicSettingTakeTheirDefaults) {
    // Player 2's keys are codes without a name, the music setting neither 0 nor 1.
    support::WriteFileBytes("keys.dat",
                            {0x1E, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0});
    Start("10 key 16 down\n");
    LoadKeyBindings();
    MainMenu();
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER1_X, MENU_LEFT_KEY_Y)),
              (std::vector<std::string>{"A"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER1_X, MENU_RIGHT_KEY_Y)),
              (std::vector<std::string>{"D"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER2_X, MENU_LEFT_KEY_Y)),
              (std::vector<std::string>{"A"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER2_X, MENU_RIGHT_KEY_Y)),
              (std::vector<std::string>{"D"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_MUSIC_X, MENU_MUSIC_Y)),
              (std::vector<std::string>{"On"}));
}

TEST_F(Menu, RedefiningTheKeysStoresSavesAndShowsThemOnTheMenu) {
    Start(
        "10 key 46 down\n"
        "40 key 46 up\n"
        "3000 key 30 down\n"  // Player 1 Left: A
        "3050 key 30 up\n"
        "3500 key 1 down\n"  // Escape cannot be bound
        "3550 key 1 up\n"
        "4000 key 42 down\n"  // Player 1 Right: Left Shift
        "4050 key 42 up\n"
        "5000 key 57 down\n"  // held past the pause: both of Player 2's keys
        "5600 key 57 up\n"
        "7000 key 17 down\n"  // after the fourth key only Escape leaves
        "7050 key 17 up\n"
        "8000 key 1 down\n"
        "8100 key 1 up\n"
        "9000 key 16 down\n");
    std::vector<uint8_t> fileAtMenuRedraw;
    uint32_t escapeTextMs = 0, menuRedrawMs = 0;
    recorder.onText = [&](const TextEvent& t) {
        if (t.y == 300 && t.x == 160) escapeTextMs = t.ms;
        if (t.x == MENU_PLAYER1_X && t.y == MENU_LEFT_KEY_Y && t.ms > 0 && menuRedrawMs == 0) {
            menuRedrawMs = t.ms;
            fileAtMenuRedraw = ReadFileBytes("keys.dat");
        }
    };
    MainMenu();

    EXPECT_EQ(Player1Left, 30);
    EXPECT_EQ(Player1Right, 42);
    EXPECT_EQ(Player2Left, 57);
    EXPECT_EQ(Player2Right, 57);
    EXPECT_EQ(fileAtMenuRedraw, KeysBytes(30, 42, 57, 57, 1));

    const std::vector<TextEvent> heading = recorder.TextsAt(160, 160);
    ASSERT_EQ(heading.size(), 1u);
    EXPECT_EQ(heading[0].text, "Enter a new key for the corresponding action");
    EXPECT_EQ(heading[0].index, LABEL_COLOUR);
    const char* labels[4] = {"Player 1 Left", "Player 1 Right", "Player 2 Left", "Player 2 Right"};
    const char* names[4] = {"A", "Left Shift", "Spacebar", "Spacebar"};
    for (int i = 0; i < 4; ++i) {
        const int32_t y = 200 + 20 * i;
        const std::vector<TextEvent> label = recorder.TextsAt(210, y);
        const std::vector<TextEvent> name = recorder.TextsAt(320, y);
        ASSERT_EQ(label.size(), 1u) << y;
        ASSERT_EQ(name.size(), 1u) << y;
        EXPECT_EQ(label[0].text, labels[i]);
        EXPECT_EQ(label[0].index, LABEL_COLOUR);
        EXPECT_EQ(name[0].text, names[i]);
        EXPECT_EQ(name[0].index, CAUGHT_KEY_COLOUR);
        EXPECT_TRUE(name[0].primary);
    }
    const std::vector<TextEvent> leave = recorder.TextsAt(160, 300);
    ASSERT_EQ(leave.size(), 1u);
    EXPECT_EQ(leave[0].text, "Press ESCAPE to go back to the main menu..");
    // The W at 7000 did not leave the screen; the Escape at 8000 did.
    EXPECT_GE(menuRedrawMs, 8000u);
    EXPECT_LT(escapeTextMs, 7000u);
    // A pause of 200 ms before each of the four keys, then the credits.
    EXPECT_EQ(recorder.sleeps, (std::vector<uint32_t>{200, 200, 200, 200, 7000}));

    // The menu drawn again shows the new names.
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER1_X, MENU_LEFT_KEY_Y)),
              (std::vector<std::string>{"Left Arrow", "A"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER1_X, MENU_RIGHT_KEY_Y)),
              (std::vector<std::string>{"Right Arrow", "Left Shift"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER2_X, MENU_LEFT_KEY_Y)),
              (std::vector<std::string>{"A", "Spacebar"}));
    EXPECT_EQ(Words(recorder.TextsAt(MENU_PLAYER2_X, MENU_RIGHT_KEY_Y)),
              (std::vector<std::string>{"D", "Spacebar"}));
}

}  // namespace
