#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

// Light from the upper left, in front of the screen.
constexpr double kLightX = -0.45, kLightY = -0.62, kLightZ = 0.64;

double Lit(double nx, double ny, double nz) {
    double diffuse = std::max(0.0, nx * kLightX + ny * kLightY + nz * kLightZ);
    // Half vector between the light and the viewer (0, 0, 1).
    double hx = kLightX, hy = kLightY, hz = kLightZ + 1.0;
    double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    double spec = std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl);
    return 0.18 + 0.62 * diffuse + 0.55 * std::pow(spec, 18.0);
}

// Shades a pixel at distance `d` from the shape's spine, `dx, dy` the
// direction away from it, inside a tube of radius `radius`.
void ShadeTube(Canvas& canvas, int px, int py, double d, double dx, double dy, double radius,
               const Ramp& ramp, uint8_t rim) {
    if (d > radius) return;
    if (d > radius - 0.95) {
        canvas.Put(px, py, rim);
        return;
    }
    double inner = radius - 0.95;
    double q = std::min(d / inner, 0.999);
    double len = std::max(d, 1e-9);
    double nx = dx / len * q, ny = dy / len * q;
    double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
    double t = Lit(nx, ny, nz);
    int index = static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * (ramp.Size() - 1)));
    canvas.Put(px, py, ramp.At(index));
}

}  // namespace

void DrawSphere(Canvas& canvas, int x, int y, int size, const Ramp& ramp, uint8_t rim) {
    double r = size / 2.0;
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            double dx = i + 0.5 - r, dy = j + 0.5 - r;
            ShadeTube(canvas, x + i, y + j, std::sqrt(dx * dx + dy * dy), dx, dy, r, ramp, rim);
        }
}

void DrawBar(Canvas& canvas, int x, int y, int width, int height, const Ramp& ramp, uint8_t rim) {
    double r = height / 2.0;
    double left = r, right = width - r;
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            double px = i + 0.5, py = j + 0.5;
            double sx = std::clamp(px, left, right);
            double dx = px - sx, dy = py - r;
            // The bar is flatter than a tube: its top face catches the light.
            ShadeTube(canvas, x + i, y + j, std::sqrt(dx * dx + dy * dy), dx * 0.8, dy, r + 0.2,
                      ramp, rim);
        }
}

}  // namespace gen
