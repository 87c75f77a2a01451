#include "title_pads.h"

#include "common/layout.h"
#include "palette_builder.h"
#include "shapes.h"
#include "title_layout.h"

namespace gen {

namespace {

constexpr int kButton = 18;  // a face button's size, a key cap's height
// The pad column ends where the panel's frame begins, with a margin.
constexpr int kColumnRight = kPanelRight - 16;

// A round face button in its usual colour with its letter on it, white on
// the darker buttons, black on the yellow one.
void DrawFaceButton(Canvas& canvas, int x, int y, const char* letter, const Ramp& ramp,
                    bool light = true) {
    DrawSphere(canvas, x, y, kButton, ramp, ramp.At(0));
    const uint8_t ink = light ? Colours.grey.At(15) : Colours.grey.At(0);
    canvas.Text(x + kButton / 2 - TextWidth(letter) / 2, y, letter, ink);
}

// A small grey pill with a button's name, as Start and Back look on a pad.
int PillWidth(const char* name) { return TextWidth(name) + 12; }

void DrawPill(Canvas& canvas, int x, int y, const char* name) {
    DrawBar(canvas, x, y, PillWidth(name), kButton, Colours.grey, Colours.grey.At(2));
    canvas.Text(x + 6, y, name, Colours.grey.At(0));
}

// "Start / (A)" right-aligned in the pad column on the row at `y`.
void DrawPillOrButton(Canvas& canvas, int y, const char* pill, const char* letter,
                      const Ramp& ramp) {
    const int buttonX = kColumnRight - kButton;
    const int slashX = buttonX - 4 - TextWidth("/");
    canvas.Text(slashX, y, "/", Colours.grey.At(9));
    DrawPill(canvas, slashX - 4 - PillWidth(pill), y, pill);
    DrawFaceButton(canvas, buttonX, y, letter, ramp);
}

}  // namespace

void DrawPadHints(Canvas& canvas) {
    // The rows of the key caps 1 and 2, the Escape line, M and Q.
    DrawPillOrButton(canvas, 198, "Start", "A", Colours.grass);
    DrawPillOrButton(canvas, 224, "Back", "X", Colours.hard);
    DrawPill(canvas, kColumnRight - PillWidth("Start"), 379, "Start");
    DrawFaceButton(canvas, MENU_MUSIC_X + WidestMusicWord() + 14, MENU_MUSIC_Y - 1, "Y",
                   Colours.gold, false);
    DrawFaceButton(canvas, kColumnRight - kButton, MENU_MUSIC_Y - 1, "B", Colours.ember);
}

}  // namespace gen
