// The main menu picture. The game draws its key names and the music word
// over it, so those places stay plain black (entry 0), wide enough for the
// longest key name; everything else on the menu is drawn here.
#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "generator.h"
#include "input/key_names.h"
#include "lettering.h"
#include "palette_builder.h"
#include "shapes.h"
#include "title_layout.h"
#include "title_pads.h"

namespace gen {

int WidestKeyName() {
    int widest = 0;
    for (int code = 0; code < 256; ++code) {
        char name[80] = {};
        KeyName(code, name, sizeof name);
        widest = std::max(widest, TextWidth(name));
    }
    return widest;
}

int WidestMusicWord() { return std::max(TextWidth("On"), TextWidth("Off")); }

namespace {

// A key cap: a small bevelled gold square with the key's letter on it.
void DrawKeyCap(Canvas& canvas, int x, int y, const char* key) {
    const Ramp& gold = Colours.gold;
    for (int j = 0; j < 18; ++j)
        for (int i = 0; i < 20; ++i) {
            bool corner = (i == 0 || i == 19) && (j == 0 || j == 17);
            if (corner) continue;
            uint8_t c;
            if (i == 0 || j == 0)
                c = gold.At(10);
            else if (i == 19 || j == 17)
                c = gold.At(2);
            else
                c = gold.Pick(0.75 - 0.25 * j / 17.0, x + i, y + j);
            canvas.Put(x + i, y + j, c);
        }
    canvas.Text(x + 10 - TextWidth(key) / 2, y + 1, key, gold.At(0));
}

void DrawBackdrop(Canvas& canvas) {
    const Ramp& navy = Colours.navy;
    for (int y = 20; y < 479; ++y)
        for (int x = 20; x < 639; ++x) {
            double t = 0.1 + 0.45 * std::pow(std::max(0.0, 1.0 - std::fabs(y - 120) / 160.0), 1.5);
            uint8_t c = navy.Pick(t, x, y);
            if (Hash01(x, y, 7) > 0.996 && y < 200) c = Colours.grey.At(8 + (x % 5));
            canvas.Put(x, y, c);
        }
    // A court seen from the stands, fading into the distance under the name.
    for (int y = 118; y < 186; ++y) {
        double depth = (y - 118) / 68.0;
        double half = 130 + 170 * depth;
        for (int x = 20; x < 639; ++x) {
            double u = (x - 329) / half;
            if (std::fabs(u) > 1.0) continue;
            bool line = std::fabs(std::fabs(u) - 1.0) < 0.012 / (0.3 + depth) ||
                        (y - 118) % 17 == 0 || std::fabs(u) < 0.006 / (0.3 + depth);
            canvas.Put(x, y, line ? navy.At(13) : navy.Pick(0.22 + 0.25 * depth, x, y));
        }
    }
}

void DrawPanel(Canvas& canvas) {
    // A black board with a rounded gold frame.
    const int x0 = kPanelLeft, x1 = kPanelRight, y0 = kPanelTop, y1 = kPanelBottom, r = 10;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
            double d = std::hypot(x - cx, y - cy);
            if (d > r + 0.5) continue;
            canvas.Put(x, y, d > r - 2.5 ? Colours.gold.At(d > r - 1 ? 4 : 8) : 0);
        }
}

void DrawMenuWords(Canvas& canvas) {
    const uint8_t words = Colours.grey.At(13);
    const uint8_t hint = Colours.grey.At(9);
    const uint8_t shadow = Colours.grey.At(1);
    const int capX = 74, textX = 104;

    DrawKeyCap(canvas, capX, 198, "1");
    canvas.Text(textX, 199, "One player: the mouse against the computer", words);
    DrawKeyCap(canvas, capX, 224, "2");
    canvas.Text(textX, 225, "Two players, both on the keyboard", words);

    // The key table: the game writes each key's name at its place.
    // Each side's colour bar, and the pad that plays it.
    const int bar1 = MENU_PLAYER1_X + TextWidth("Player 1") + 8;
    const int bar2 = MENU_PLAYER2_X + TextWidth("Player 2") + 8;
    canvas.Text(MENU_PLAYER1_X, 262, "Player 1", Colours.gold.At(9));
    DrawBar(canvas, bar1, 267, 34, 6, Colours.gold, Colours.gold.At(0));
    canvas.Text(bar1 + 44, 262, "pad 1", hint);
    canvas.Text(MENU_PLAYER2_X, 262, "Player 2", Colours.cyan.At(9));
    DrawBar(canvas, bar2, 267, 34, 6, Colours.cyan, Colours.cyan.At(0));
    canvas.Text(bar2 + 44, 262, "pad 2", hint);
    canvas.Text(MENU_PLAYER1_X - 14 - TextWidth("Left"), MENU_LEFT_KEY_Y, "Left", hint);
    canvas.Text(MENU_PLAYER1_X - 14 - TextWidth("Right"), MENU_RIGHT_KEY_Y, "Right", hint);

    DrawKeyCap(canvas, capX, 352, "C");
    canvas.Text(textX, 353, "Redefine the players' keys", words);
    canvas.Text(textX, 380, "Escape during a match comes back here", hint);

    DrawKeyCap(canvas, capX, MENU_MUSIC_Y - 1, "M");
    canvas.Text(textX, MENU_MUSIC_Y, "Music", words);
    // Dots lead the eye to where the game writes "On" or "Off".
    for (int x = textX + TextWidth("Music") + 8; x < MENU_MUSIC_X - 6; x += 5)
        canvas.Put(x, MENU_MUSIC_Y + 11, hint);
    DrawKeyCap(canvas, 470, MENU_MUSIC_Y - 1, "Q");
    canvas.ShadowText(500, MENU_MUSIC_Y, "Quit", words, shadow);
}

}  // namespace

bool WriteTitle(const std::string& folder) {
    // 620 x 460, cut from (1, 1) and shown at (20, 20): screen x lands on
    // file column x - 19.
    Canvas canvas(620, 460, -19, -19);
    DrawBackdrop(canvas);

    const int height = 88;
    int width = LetteringWidth("VOLLEEN", height);
    LetterStyle style{&Colours.sun, Colours.sun.At(0), Colours.navy.At(0), 5};
    DrawLettering(canvas, 329 - width / 2, 34, "VOLLEEN", height, style);
    const char* strap = "a duel of two paddles and one unruly ball";
    canvas.ShadowText(329 - TextWidth(strap) / 2, 140, strap, Colours.grey.At(14),
                      Colours.navy.At(0));
    // The ball in flight beside the name.
    DrawSphere(canvas, 585, 48, 22, Colours.grey, Colours.grey.At(2));
    for (int k = 1; k <= 4; ++k)
        DrawSphere(canvas, 585 - 9 * k, 48 + 7 * k, 22 - 4 * k, Colours.navy,
                   Colours.navy.At(3 + k));

    DrawPanel(canvas);
    DrawMenuWords(canvas);
    DrawPadHints(canvas);

    // The places the game draws on stay black however the art above changes.
    for (const TextArea& area : TitleTextAreas())
        canvas.FillRect(area.x, area.y, area.x + area.width - 1, area.y + kTextHeight - 1, 0);
    return SaveCanvas(canvas, InFolder(folder, "TITLE8.BMP"), GamePalette);
}

std::vector<TextArea> TitleTextAreas() {
    int keys = WidestKeyName();
    int music = WidestMusicWord();
    return {{MENU_PLAYER1_X, MENU_LEFT_KEY_Y, keys},
            {MENU_PLAYER1_X, MENU_RIGHT_KEY_Y, keys},
            {MENU_PLAYER2_X, MENU_LEFT_KEY_Y, keys},
            {MENU_PLAYER2_X, MENU_RIGHT_KEY_Y, keys},
            {MENU_MUSIC_X, MENU_MUSIC_Y, music}};
}

}  // namespace gen
