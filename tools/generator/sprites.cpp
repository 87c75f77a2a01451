// The ball, the two paddles and the icon.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "canvas.h"
#include "common/layout.h"
#include "generator.h"
#include "palette_builder.h"
#include "shapes.h"

namespace gen {

namespace {

// The light half of the greys: even the ball's shadow side stays bright.
Ramp BallRamp() {
    Ramp ramp;
    for (int i = 6; i < Colours.grey.Size(); ++i) ramp.entries.push_back(Colours.grey.At(i));
    return ramp;
}

bool WriteBall(const std::string& folder) {
    // One 11 x 11 cell at (1, 1); the corners stay 0 and show the court.
    Canvas ball(12, 12, 1, 1);
    DrawSphere(ball, 0, 0, BALL_SIZE, BallRamp(), Colours.grey.At(2));
    return SaveCanvas(ball, InFolder(folder, "BALL3D8BIG.BMP"), GamePalette);
}

// A paddle: a bevelled bar with a grip of three notches in the middle.
void DrawPaddle(Canvas& canvas, int x, int width, const Ramp& ramp) {
    DrawBar(canvas, x, 0, width, PADDLE_HEIGHT, ramp, ramp.At(0));
    int middle = x + width / 2;
    for (int k = -1; k <= 1; ++k) {
        int gx = middle + 4 * k;
        for (int y = 2; y <= 5; ++y) canvas.Put(gx, y, ramp.At(2 + y / 2));
    }
}

bool WritePaddles(const std::string& folder) {
    // Bottom paddle 66 x 8 at (1, 1), top paddle 65 x 8 at (67, 1).
    Canvas paddles(132, 12, 1, 1);
    DrawPaddle(paddles, 0, PADDLE1_WIDTH, Colours.gold);
    DrawPaddle(paddles, PADDLE1_WIDTH, PADDLE2_WIDTH, Colours.cyan);
    return SaveCanvas(paddles, InFolder(folder, "PADDLES3D8.BMP"), GamePalette);
}

bool WriteIcon(const std::string& folder) {
    return SaveCanvas(DrawIcon(32), InFolder(folder, "volleen-icon.bmp"), GamePalette);
}

}  // namespace

Canvas DrawIcon(int size) {
    // Laid out on a 32-pixel grid and scaled, so every size shows the same picture.
    const double scale = size / 32.0;
    auto at = [scale](double v) { return static_cast<int>(std::lround(v * scale)); };
    Canvas icon(size, size, 0, 0);
    DrawBar(icon, at(3), at(2), at(26), at(6), Colours.cyan, Colours.cyan.At(0));
    DrawBar(icon, at(3), at(24), at(26), at(6), Colours.gold, Colours.gold.At(0));
    // The ball on its way up, with a fading trail of round dots (single
    // pixels at the window icon's size).
    const int dot = std::max(1, at(1));
    auto trail = [&](int x, int y, uint8_t colour) {
        const double r = dot / 2.0;
        for (int j = 0; j < dot; ++j)
            for (int i = 0; i < dot; ++i) {
                const double dx = i + 0.5 - r, dy = j + 0.5 - r;
                if (dot < 3 || dx * dx + dy * dy <= r * r) icon.Put(at(x) + i, at(y) + j, colour);
            }
    };
    trail(9, 20, Colours.grey.At(5));
    trail(11, 18, Colours.grey.At(8));
    trail(12, 19, Colours.grey.At(6));
    DrawSphere(icon, at(13), at(9), at(10), BallRamp(), Colours.grey.At(2));
    return icon;
}

bool WriteIconTheme(const std::string& folder) {
    bool ok = true;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::string sized = std::to_string(size) + "x" + std::to_string(size);
        std::error_code failed;
        const std::filesystem::path apps = std::filesystem::path(folder) / sized / "apps";
        std::filesystem::create_directories(apps, failed);
        ok = SavePng(DrawIcon(size), (apps / "volleen.png").string(), GamePalette) && ok;
    }
    return ok;
}

bool WriteSprites(const std::string& folder) {
    bool ok = WriteBall(folder);
    ok = WritePaddles(folder) && ok;
    ok = WriteIcon(folder) && ok;
    return ok;
}

}  // namespace gen
