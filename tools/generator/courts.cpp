// The six match backgrounds. Every court shares the game's geometry: a dark
// score band along the top, side walls at x 22 and 618, the paddles' lines
// at y 20 and 456, and a dark oval in the middle behind the serve prompt.
// Floors stay in the middle of their ramps so the white ball, the gold and
// cyan paddles and the yellow prompt stand out on every one.
#include <algorithm>
#include <cmath>
#include <functional>

#include "canvas.h"
#include "generator.h"
#include "palette_builder.h"

namespace gen {

namespace {

constexpr int kLeft = 20, kRight = 619;        // outer edges of the side lines
constexpr int kTop = 19, kBottom = 458;        // outer edges of the end lines
constexpr int kBandBottom = 17;                // the score band covers rows 0..17
constexpr int kCentreX = 320, kCentreY = 241;  // the oval behind the prompt
constexpr double kOvalRx = 122, kOvalRy = 23;

struct Court {
    const char* file;
    std::function<uint8_t(int, int)> floor;     // the playing surface
    std::function<uint8_t(int, int)> surround;  // walls and the space beyond the lines
    uint8_t line;                               // court lines
    uint8_t lineShade;                          // their lower edge
    const Ramp* band;                           // the score band
    const Ramp* oval;                           // the dark oval
    uint8_t ovalRim;
};

double Oval(int x, int y) {
    double dx = (x - kCentreX) / kOvalRx, dy = (y - kCentreY) / kOvalRy;
    return std::sqrt(dx * dx + dy * dy);
}

// Soft darkening towards the corners of the court.
double Vignette(int x, int y) {
    double dx = (x - 320) / 330.0, dy = (y - 240) / 260.0;
    return 1.0 - 0.35 * (dx * dx + dy * dy);
}

bool OnLine(int x, int y) {
    bool inside = x >= kLeft && x <= kRight && y >= kTop && y <= kBottom;
    if (!inside) return false;
    if (x <= kLeft + 1 || x >= kRight - 1 || y <= kTop + 1 || y >= kBottom - 1) return true;
    // The centre line, broken by the oval.
    if ((y == 240 || y == 241) && Oval(x, y) > 1.08) return true;
    // The two attack lines, dashed.
    if ((y == 128 || y == 354) && ((x - kLeft) / 12) % 2 == 0) return true;
    // Short centre marks on the end lines.
    if (x >= 319 && x <= 320 && ((y > kTop && y < kTop + 12) || (y < kBottom && y > kBottom - 12)))
        return true;
    return false;
}

void DrawCourt(Canvas& canvas, const Court& court) {
    for (int y = 0; y < 479; ++y)
        for (int x = 0; x < 639; ++x) {
            uint8_t c;
            if (y <= kBandBottom) {
                // The score band: dark, a little lighter towards its foot.
                c = court.band->Pick(0.05 + 0.18 * y / kBandBottom, x, y);
                if (y == kBandBottom) c = court.band->At(court.band->Size() / 2);
            } else if (x >= kLeft && x <= kRight && y >= kTop && y <= kBottom) {
                double o = Oval(x, y);
                if (o <= 1.0)
                    c = court.oval->Pick(0.12 + 0.12 * o, x, y);
                else if (o <= 1.06)
                    c = court.ovalRim;
                else
                    c = court.floor(x, y);
            } else {
                c = court.surround(x, y);
            }
            canvas.Put(x, y, c);
        }
    for (int y = 0; y < 479; ++y)
        for (int x = 0; x < 639; ++x)
            if (OnLine(x, y)) canvas.Put(x, y, OnLine(x, y - 1) ? court.lineShade : court.line);
    // The band's edge, drawn last so it crosses the side walls.
    for (int x = 0; x < 639; ++x) canvas.Put(x, kBandBottom + 1, Colours.grey.At(1));
}

// --- the floors ---------------------------------------------------------------

uint8_t Grass(int x, int y) {
    // Mowing stripes across the court, with a little blade noise.
    int band = (y - kTop) / 44;
    double t = (band % 2 ? 0.58 : 0.47) * Vignette(x, y);
    t += (Hash01(x, y, 3) - 0.5) * 0.1;
    return Colours.grass.Pick(t, x, y);
}

uint8_t Hedge(int x, int y) {
    double leaf = Hash01(x / 3, y / 3, 8) * 0.6 + Hash01(x, y, 9) * 0.4;
    return Colours.grass.Pick(0.05 + 0.22 * leaf, x, y);
}

uint8_t Clay(int x, int y) {
    // Grainy clay brushed in long horizontal streaks.
    double streak = Hash01(0, y / 2, 21) * 0.08 + Hash01(x / 40, y, 22) * 0.04;
    double t = 0.5 * Vignette(x, y) + streak + (Hash01(x, y, 23) - 0.5) * 0.12;
    return Colours.clay.Pick(t, x, y);
}

uint8_t Tarp(int x, int y) {
    double fold = 0.5 + 0.5 * std::sin(x * 0.9);
    return Colours.grass.Pick(0.1 + 0.12 * fold + Hash01(x, y, 4) * 0.05, x, y);
}

uint8_t Hard(int x, int y) {
    // An acrylic court with a faint diagonal sheen.
    double sheen = 0.08 * std::sin((x + y) * 0.012);
    double t = 0.5 * Vignette(x, y) + sheen + (Hash01(x, y, 31) - 0.5) * 0.05;
    return Colours.hard.Pick(t, x, y);
}

uint8_t HardOut(int x, int y) {
    return Colours.hard.Pick(0.16 + (Hash01(x, y, 32) - 0.5) * 0.06, x, y);
}

uint8_t Parquet(int x, int y) {
    // Planks 14 rows high, each with its own tone, grain and butt joints.
    int plank = (y - kTop) / 14;
    int row = (y - kTop) % 14;
    int length = 150 + static_cast<int>(Hash01(plank, 0, 41) * 90);
    int shift = static_cast<int>(Hash01(plank, 1, 42) * length);
    int piece = (x + shift) / length;
    if (row == 0) return Colours.wood.Pick(0.2, x, y);
    if ((x + shift) % length == 0) return Colours.wood.Pick(0.22, x, y);
    double tone = 0.42 + Hash01(plank, piece, 43) * 0.16;
    double grain = 0.06 * std::sin(x * 0.09 + Hash01(plank, piece, 44) * 6 +
                                   std::sin(x * 0.021 + plank) * 2.0);
    return Colours.wood.Pick((tone + grain) * Vignette(x, y) + 0.05, x, y);
}

uint8_t WoodWall(int x, int y) {
    double t = 0.12 + 0.05 * std::sin(y * 0.5) + Hash01(x, y, 45) * 0.05;
    return Colours.wood.Pick(t, x, y);
}

uint8_t Neon(int x, int y) {
    // A glowing grid on a deep violet floor, brighter near the middle.
    int gx = (x - kLeft) % 40, gy = (y - kTop) % 40;
    double glow = 1.0 - std::min(1.0, std::fabs(y - 241) / 240.0);
    if (gx == 0 || gy == 0) return Colours.magenta.Pick(0.05 + 0.35 * glow, x, y);
    if (gx == 1 || gy == 1 || gx == 39 || gy == 39)
        return Colours.dusk.Pick(0.55 + 0.2 * glow, x, y);
    return Colours.dusk.Pick(0.28 + 0.3 * glow, x, y);
}

uint8_t NeonOut(int x, int y) {
    // A scatter of faint stars beyond the walls.
    if (Hash01(x, y, 51) > 0.992) return Colours.grey.At(9);
    return Colours.dusk.Pick(0.06 + 0.05 * Hash01(x / 4, y / 4, 52), x, y);
}

// Volcanic rock: cells of basalt split by glowing cracks.
double CrackDistance(int x, int y, double& cellShade) {
    const int cell = 56;
    int cx = x / cell, cy = y / cell;
    double best = 1e9, second = 1e9;
    for (int j = cy - 1; j <= cy + 1; ++j)
        for (int i = cx - 1; i <= cx + 1; ++i) {
            double sx = (i + 0.15 + 0.7 * Hash01(i, j, 61)) * cell;
            double sy = (j + 0.15 + 0.7 * Hash01(i, j, 62)) * cell;
            double d = std::hypot(x - sx, y - sy);
            if (d < best) {
                second = best;
                best = d;
                cellShade = Hash01(i, j, 63);
            } else if (d < second) {
                second = d;
            }
        }
    return second - best;
}

uint8_t Lava(int x, int y) {
    double shade = 0;
    double crack = CrackDistance(x, y, shade);
    // Glowing but not bright: the white ball must still stand out over a crack.
    if (crack < 1.6) return Colours.ember.Pick(0.38 + 0.2 * Hash01(x / 6, y / 6, 64), x, y);
    if (crack < 4.5) return Colours.ember.Pick(0.03 + 0.2 * (4.5 - crack) / 3, x, y);
    double t = 0.4 + 0.2 * shade + (Hash01(x, y, 65) - 0.5) * 0.14;
    t *= Vignette(x, y);
    // Rounded tops: cells lighter away from their cracks.
    t += std::min(crack, 20.0) * 0.008;
    return Colours.basalt.Pick(t, x, y);
}

uint8_t LavaOut(int x, int y) {
    double shade = 0;
    double crack = CrackDistance(x + 300, y, shade);
    if (crack < 1.2) return Colours.ember.At(2);
    return Colours.basalt.Pick(0.08 + 0.1 * shade, x, y);
}

}  // namespace

bool WriteCourts(const std::string& folder) {
    const GameColours& c = Colours;
    const Court courts[6] = {
        {"BACK81.BMP", Grass, Hedge, c.grey.At(15), c.grey.At(11), &c.grass, &c.grass,
         c.grass.At(1)},
        {"BACK82.BMP", Clay, Tarp, c.grey.At(15), c.grey.At(12), &c.clay, &c.clay, c.clay.At(2)},
        {"BACK83.BMP", Hard, HardOut, c.grey.At(15), c.grey.At(11), &c.hard, &c.hard, c.hard.At(2)},
        {"BACK84.BMP", Parquet, WoodWall, c.grey.At(14), c.grey.At(11), &c.wood, &c.wood,
         c.wood.At(2)},
        {"BACK85.BMP", Neon, NeonOut, c.magenta.At(6), c.magenta.At(4), &c.dusk, &c.dusk,
         c.magenta.At(3)},
        {"BACK86.BMP", Lava, LavaOut, c.ember.At(8), c.ember.At(6), &c.basalt, &c.basalt,
         c.ember.At(4)}};
    bool ok = true;
    for (const Court& court : courts) {
        Canvas canvas(640, 480, 1, 1);
        DrawCourt(canvas, court);
        ok = SaveCanvas(canvas, InFolder(folder, court.file), GamePalette) && ok;
    }
    return ok;
}

}  // namespace gen
