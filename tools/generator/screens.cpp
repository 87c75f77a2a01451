// The two start-up screens (each in its own colours) and the credits.
#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "generator.h"
#include "lettering.h"
#include "palette_builder.h"
#include "shapes.h"

namespace gen {

namespace {

// The first start-up screen: the emblem of our little studio, a ring with
// a ball bouncing off a paddle inside it.
bool WriteStudioLogo(const std::string& folder) {
    PaletteBuilder b;
    b.Fix(0, {0, 0, 0});
    Ramp sea = b.Add(40, {{2, 8, 12}, {6, 40, 52}, {18, 86, 96}});
    Ramp gold = b.Add(24, {{50, 22, 0}, {180, 110, 20}, {255, 210, 90}, {255, 250, 225}});
    Ramp grey = b.Add(24, {{12, 14, 16}, {120, 128, 130}, {255, 255, 255}});
    Ramp coral = b.Add(20, {{60, 8, 10}, {220, 70, 60}, {255, 180, 150}});
    Ramp mist = b.Add(24, {{10, 40, 48}, {90, 160, 160}, {220, 245, 240}});

    Canvas canvas(640, 480, 1, 1);
    for (int y = 0; y < 479; ++y)
        for (int x = 0; x < 639; ++x) {
            double d = std::hypot((x - 320) / 1.2, y - 190) / 330.0;
            canvas.Put(x, y, sea.Pick(1.0 - d, x, y));
        }
    // The ring: a lit tube of gold.
    const double cx = 320, cy = 190, radius = 96, tube = 11;
    for (int y = 70; y < 310; ++y)
        for (int x = 200; x < 440; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            double r = std::hypot(dx, dy);
            double d = std::fabs(r - radius);
            if (d > tube + 2) continue;
            if (d > tube) {
                canvas.Put(x, y, gold.At(0));
                continue;
            }
            double q = (r - radius) / tube;  // -1 inside edge .. 1 outside edge
            double nx = dx / r * q, ny = dy / r * q;
            double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
            double lit = std::max(0.0, -0.45 * nx - 0.6 * ny + 0.66 * nz);
            double spec = std::pow(std::max(0.0, -0.3 * nx - 0.4 * ny + 0.87 * nz), 30.0);
            canvas.Put(x, y, gold.Pick(0.1 + 0.7 * lit + 0.6 * spec, x, y));
        }
    // Inside: the ball's arc, the ball and a paddle.
    for (int k = 0; k < 40; ++k) {
        double t = k / 40.0;
        int px = static_cast<int>(262 + 90 * t), py = static_cast<int>(236 - 150 * t * (1.6 - t));
        canvas.Put(px, py, mist.At(10 + k / 4));
        canvas.Put(px, py + 1, mist.At(6 + k / 5));
    }
    DrawSphere(canvas, 340, 128, 34, grey, grey.At(2));
    DrawBar(canvas, 262, 238, 92, 16, coral, coral.At(0));

    const char* name = "KALVORO";
    DrawBigText(canvas, 320 - BigTextWidth(name, 4) / 2, 318, name, 4, gold, gold.At(0));
    const char* line = "T I N Y   S T U D I O";
    canvas.Text(320 - TextWidth(line) / 2, 398, line, mist.At(20));
    const char* motto = "small games about things that bounce";
    canvas.Text(320 - TextWidth(motto) / 2, 430, motto, mist.At(12));
    return SaveCanvas(canvas, InFolder(folder, "harbeklogo8.bmp"), b.palette);
}

// The second start-up screen: the game's name over a sunset court.
bool WriteTitleSplash(const std::string& folder) {
    PaletteBuilder b;
    b.Fix(0, {0, 0, 0});
    Ramp sky =
        b.Add(48, {{16, 6, 40}, {80, 16, 90}, {200, 50, 110}, {255, 130, 70}, {255, 210, 110}});
    Ramp sun = b.Add(24, {{255, 90, 60}, {255, 170, 70}, {255, 240, 150}});
    Ramp floor = b.Add(24, {{6, 2, 16}, {30, 8, 50}, {70, 20, 90}});
    Ramp grid = b.Add(16, {{90, 20, 100}, {240, 80, 200}, {255, 190, 250}});
    Ramp chrome = b.Add(40, {{10, 20, 60}, {40, 110, 200}, {150, 230, 255}, {255, 255, 255}});
    Ramp grey = b.Add(16, {{20, 20, 30}, {255, 255, 255}});

    Canvas canvas(640, 480, 1, 1);
    const int horizon = 300;
    for (int y = 0; y < 479; ++y)
        for (int x = 0; x < 639; ++x) {
            uint8_t c;
            if (y < horizon) {
                c = sky.Pick(static_cast<double>(y) / horizon, x, y);
                // The sun, cut by bands that widen towards the horizon.
                double d = std::hypot(x - 320.0, y - 250.0);
                bool cut = y > 200 && ((y - 200) % 14) < (y - 200) / 14 + 1;
                if (d < 120 && !cut) c = sun.Pick(1.0 - (y - 130) / 170.0, x, y);
            } else {
                double depth = (y - horizon) / 179.0;  // 0 at the horizon
                // Lines across the floor crowd together towards the horizon.
                double s = std::log(depth + 0.04) * 3.5;
                double u = (x - 320) / (40.0 + 560.0 * depth);
                bool across = depth > 0.03 && s - std::floor(s) < 0.16;
                bool along = std::fabs(u * 8 - std::round(u * 8)) < 0.04 + 0.03 * depth;
                c = (across || along) ? grid.Pick(0.3 + 0.7 * depth, x, y)
                                      : floor.Pick(0.15 + 0.6 * (1 - depth), x, y);
            }
            canvas.Put(x, y, c);
        }
    const int height = 92;
    int width = LetteringWidth("VOLLEEN", height);
    LetterStyle style{&chrome, chrome.At(0), floor.At(0), 6};
    DrawLettering(canvas, 320 - width / 2, 70, "VOLLEEN", height, style);
    const char* strap = "a duel of two paddles and one unruly ball";
    canvas.ShadowText(320 - TextWidth(strap) / 2, 196, strap, grey.At(15), floor.At(0));
    // The two paddles and the ball on the court.
    DrawBar(canvas, 200, 420, 96, 14, sun, sun.At(0));
    DrawBar(canvas, 380, 330, 70, 10, chrome, chrome.At(0));
    DrawSphere(canvas, 318, 370, 20, grey, grey.At(1));
    return SaveCanvas(canvas, InFolder(folder, "bremlogo8.bmp"), b.palette);
}

bool WriteCredits(const std::string& folder) {
    const GameColours& c = Colours;
    Canvas canvas(640, 480, 1, 1);
    for (int y = 0; y < 479; ++y)
        for (int x = 0; x < 639; ++x) {
            double t = 0.05 + 0.4 * std::exp(-std::pow((y - 90) / 120.0, 2));
            uint8_t colour = c.navy.Pick(t, x, y);
            if (Hash01(x, y, 17) > 0.997) colour = c.grey.At(7 + x % 6);
            canvas.Put(x, y, colour);
        }
    const int height = 70;
    int width = LetteringWidth("VOLLEEN", height);
    LetterStyle style{&c.sun, c.sun.At(0), c.navy.At(0), 4};
    DrawLettering(canvas, 320 - width / 2, 40, "VOLLEEN", height, style);

    struct Line {
        const char* role;
        const char* who;
    };
    const Line lines[] = {{"Game design", "The Volleen crew"},
                          {"Programming", "The Volleen crew"},
                          {"Pictures", "Drawn line by line by our own code"},
                          {"Sound and music", "Synthesised note by note"},
                          {"Court testing", "Many long rallies"},
                          {"Special thanks", "Everyone who picked up a paddle"}};
    int y = 158;
    for (const Line& line : lines) {
        canvas.ShadowText(300 - TextWidth(line.role), y, line.role, c.gold.At(8), c.navy.At(0));
        canvas.ShadowText(320, y, line.who, c.grey.At(15), c.navy.At(0));
        y += 30;
    }
    // A divider of small paddle bars.
    DrawBar(canvas, 250, 352, 60, 6, c.gold, c.gold.At(0));
    DrawSphere(canvas, 314, 349, 12, c.grey, c.grey.At(2));
    DrawBar(canvas, 330, 352, 60, 6, c.cyan, c.cyan.At(0));

    const char* thanks = "Thanks for playing";
    DrawBigText(canvas, 320 - BigTextWidth(thanks, 2) / 2, 384, thanks, 2, c.sun, c.navy.At(0));
    return SaveCanvas(canvas, InFolder(folder, "credits8.bmp"), GamePalette);
}

}  // namespace

bool WriteScreens(const std::string& folder) {
    bool ok = WriteStudioLogo(folder);
    ok = WriteTitleSplash(folder) && ok;
    ok = WriteCredits(folder) && ok;
    return ok;
}

}  // namespace gen
