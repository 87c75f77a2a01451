#include "palette_builder.h"

#include <algorithm>
#include <cmath>

namespace gen {

GameColours Colours;
Palette GamePalette;

namespace {

uint8_t Clamp255(double v) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
}

Rgb Along(const std::vector<Rgb>& stops, double t) {
    if (stops.size() == 1) return stops[0];
    double at = t * static_cast<double>(stops.size() - 1);
    size_t i = std::min(static_cast<size_t>(at), stops.size() - 2);
    double f = at - static_cast<double>(i);
    const Rgb& a = stops[i];
    const Rgb& b = stops[i + 1];
    return {static_cast<int>(std::lround(a.r + (b.r - a.r) * f)),
            static_cast<int>(std::lround(a.g + (b.g - a.g) * f)),
            static_cast<int>(std::lround(a.b + (b.b - a.b) * f))};
}

}  // namespace

double DitherThreshold(int x, int y) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (kBayer[y & 3][x & 3] + 0.5) / 16.0;
}

uint8_t Ramp::At(int i) const { return entries[static_cast<size_t>(std::clamp(i, 0, Size() - 1))]; }

uint8_t Ramp::Pick(double t, int x, int y) const {
    t = std::clamp(t, 0.0, 1.0);
    double v = t * (Size() - 1);
    int base = static_cast<int>(std::floor(v));
    double frac = v - base;
    return At(frac > DitherThreshold(x, y) ? base + 1 : base);
}

void PaletteBuilder::Fix(int index, Rgb colour) {
    palette.entries[index] = {Clamp255(colour.r), Clamp255(colour.g), Clamp255(colour.b),
                              PALETTE_FLAGS};
    used[index] = true;
}

Ramp PaletteBuilder::Add(int count, const std::vector<Rgb>& stops) {
    Ramp ramp;
    int next = 1;
    for (int i = 0; i < count; ++i) {
        while (next < 256 && used[next]) ++next;
        if (next >= 256) break;  // the palette is full: the ramp gets shorter
        double t = count == 1 ? 0.0 : static_cast<double>(i) / (count - 1);
        Fix(next, Along(stops, t));
        ramp.entries.push_back(static_cast<uint8_t>(next));
    }
    return ramp;
}

void BuildGamePalette() {
    static bool built = false;
    if (built) return;
    built = true;

    PaletteBuilder b;
    // Entry 0 is black and the transparent colour of the sprites; no other
    // entry is pure black, so black text always finds entry 0.
    b.Fix(0, {0, 0, 0});
    // The words the game draws in fixed entries.
    b.Fix(KEY_NAME_COLOUR, {150, 240, 120});    // fresh green: key names, "On"
    b.Fix(LABEL_COLOUR, {255, 196, 72});        // amber: labels on black
    b.Fix(MUSIC_OFF_COLOUR, {255, 112, 96});    // coral: "Off"
    b.Fix(PROMPT_COLOUR, {255, 232, 90});       // bright yellow: the serve prompt
    b.Fix(CAUGHT_KEY_COLOUR, {110, 225, 255});  // sky blue: a key just caught

    GameColours& c = Colours;
    c.grey = b.Add(16, {{14, 14, 20}, {128, 128, 136}, {255, 255, 255}});
    c.gold = b.Add(12, {{60, 26, 0}, {190, 110, 10}, {255, 200, 40}, {255, 250, 200}});
    c.cyan = b.Add(12, {{0, 24, 64}, {16, 104, 196}, {80, 206, 255}, {220, 252, 255}});
    c.grass = b.Add(16, {{10, 34, 14}, {40, 96, 36}, {92, 150, 62}});
    c.clay = b.Add(16, {{44, 16, 10}, {130, 58, 34}, {186, 100, 62}});
    c.hard = b.Add(16, {{8, 16, 40}, {30, 62, 122}, {74, 122, 184}});
    c.wood = b.Add(16, {{38, 20, 8}, {112, 66, 30}, {176, 124, 70}});
    c.dusk = b.Add(16, {{6, 3, 18}, {34, 12, 62}, {84, 34, 124}});
    c.magenta = b.Add(8, {{80, 10, 80}, {220, 50, 190}, {255, 170, 245}});
    c.basalt = b.Add(14, {{12, 10, 12}, {52, 46, 50}, {104, 96, 96}});
    c.ember = b.Add(10, {{90, 10, 0}, {220, 80, 10}, {255, 210, 90}});
    c.navy = b.Add(16, {{4, 5, 18}, {24, 32, 86}, {66, 84, 166}});
    c.sun = b.Add(14, {{110, 30, 0}, {240, 120, 16}, {255, 210, 60}, {255, 250, 220}});

    // Whatever is left becomes a soft grey ramp, so no spare entry is black.
    int spare = 0;
    for (bool u : b.used) spare += u ? 0 : 1;
    if (spare > 0) b.Add(spare, {{24, 24, 30}, {232, 232, 236}});

    GamePalette = b.palette;
    for (auto& e : GamePalette.entries) e.flags = PALETTE_FLAGS;
}

}  // namespace gen
