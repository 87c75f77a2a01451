#include "lettering.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/common/text_raster.h"

namespace gen {

namespace {

struct Segment {
    double x0, y0, x1, y1;
};

struct Glyph {
    double width;  // in letter heights
    std::vector<Segment> strokes;
};

constexpr double kStroke = 0.12;  // stroke radius in letter heights
constexpr double kGap = 0.12;     // space between letters

Glyph GlyphOf(char c) {
    const double r = kStroke;
    switch (c) {
        case 'V':
            return {0.86, {{r, r, 0.43, 1 - r}, {0.43, 1 - r, 0.86 - r, r}}};
        case 'L':
            return {0.62, {{r, r, r, 1 - r}, {r, 1 - r, 0.62 - r, 1 - r}}};
        case 'E':
            return {0.64,
                    {{r, r, r, 1 - r},
                     {r, r, 0.64 - r, r},
                     {r, 0.5, 0.56 - r, 0.5},
                     {r, 1 - r, 0.64 - r, 1 - r}}};
        case 'N':
            return {0.8, {{r, r, r, 1 - r}, {r, r, 0.8 - r, 1 - r}, {0.8 - r, r, 0.8 - r, 1 - r}}};
        case 'O': {
            Glyph g{0.9, {}};
            const int n = 40;
            double cx = 0.45, cy = 0.5, rx = 0.45 - r, ry = 0.5 - r;
            for (int i = 0; i < n; ++i) {
                double a0 = 2 * 3.14159265358979 * i / n, a1 = 2 * 3.14159265358979 * (i + 1) / n;
                g.strokes.push_back({cx + rx * std::cos(a0), cy + ry * std::sin(a0),
                                     cx + rx * std::cos(a1), cy + ry * std::sin(a1)});
            }
            return g;
        }
        default:
            return {0.5, {}};
    }
}

// Distance from p to the segment, and the direction from its nearest point.
double SegmentDistance(const Segment& s, double px, double py, double& dx, double& dy) {
    double vx = s.x1 - s.x0, vy = s.y1 - s.y0;
    double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? std::clamp(((px - s.x0) * vx + (py - s.y0) * vy) / len2, 0.0, 1.0) : 0;
    dx = px - (s.x0 + t * vx);
    dy = py - (s.y0 + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

// The strokes of a whole word in pixels, and its width.
std::vector<Segment> WordStrokes(const char* word, int height, double& width) {
    std::vector<Segment> all;
    double at = 0.0;
    for (const char* p = word; *p; ++p) {
        Glyph g = GlyphOf(*p);
        for (const Segment& s : g.strokes)
            all.push_back(
                {(at + s.x0) * height, s.y0 * height, (at + s.x1) * height, s.y1 * height});
        at += g.width + kGap;
    }
    width = (at - kGap) * height;
    return all;
}

}  // namespace

int LetteringWidth(const char* word, int height) {
    double width = 0;
    WordStrokes(word, height, width);
    return static_cast<int>(std::ceil(width));
}

void DrawLettering(Canvas& canvas, int x, int y, const char* word, int height,
                   const LetterStyle& style) {
    double width = 0;
    std::vector<Segment> strokes = WordStrokes(word, height, width);
    const double radius = kStroke * height;
    const double outline = std::max(2.0, height * 0.035);
    const int w = static_cast<int>(std::ceil(width)) + 8, h = height + 8;

    // Nearest stroke for every pixel, so shadow, outline and fill agree.
    std::vector<double> dist(static_cast<size_t>(w * h));
    std::vector<double> dirX(dist.size()), dirY(dist.size());
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            double px = i - 4 + 0.5, py = j - 4 + 0.5, best = 1e9, bx = 0, by = 0;
            for (const Segment& s : strokes) {
                double dx, dy;
                double d = SegmentDistance(s, px, py, dx, dy);
                if (d < best) best = d, bx = dx, by = dy;
            }
            size_t k = static_cast<size_t>(j * w + i);
            dist[k] = best;
            dirX[k] = bx;
            dirY[k] = by;
        }
    auto at = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= w || j >= h) return 1e9;
        return dist[static_cast<size_t>(j * w + i)];
    };

    if (style.shadow != 0)
        for (int j = 0; j < h + style.shadowOffset; ++j)
            for (int i = 0; i < w + style.shadowOffset; ++i)
                if (at(i - style.shadowOffset, j - style.shadowOffset) <= radius + outline)
                    canvas.Put(x + i - 4, y + j - 4, style.shadow);

    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            size_t k = static_cast<size_t>(j * w + i);
            double d = dist[k];
            if (d > radius + outline) continue;
            int px = x + i - 4, py = y + j - 4;
            if (d > radius) {
                canvas.Put(px, py, style.outline);
                continue;
            }
            // A tube: the surface normal leans away from the stroke's spine.
            double q = d / radius;
            double len = std::max(d, 1e-9);
            double nx = dirX[k] / len * q, ny = dirY[k] / len * q;
            double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
            const double lx = -0.4, ly = -0.65, lz = 0.65;
            double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
            double hx = lx, hy = ly, hz = lz + 1, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
            double spec = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl), 24.0);
            // Lighter at the top of the word, as if lit from above.
            double vertical = 1.0 - static_cast<double>(j) / h;
            double t = 0.12 + 0.5 * diffuse + 0.25 * vertical + 0.6 * spec;
            canvas.Put(px, py, style.fill->Pick(t, px, py));
        }
}

int BigTextWidth(const char* text, int scale) { return platform::text::Width(text) * scale; }

void DrawBigText(Canvas& canvas, int x, int y, const char* text, int scale, const Ramp& fill,
                 uint8_t outline) {
    int tw = platform::text::Width(text);
    if (tw <= 0) return;
    const int th = 18;
    platform::Surface mask;
    mask.width = tw + 2;
    mask.height = th;
    mask.pitch = (mask.width + 3) & ~3;
    mask.pixels.assign(static_cast<size_t>(mask.pitch) * th, 0);
    platform::text::Draw(&mask, 1, 0, text, 1);
    auto sample = [&](double fx, double fy) {
        // Bilinear look-up of the mask, so the enlarged shapes come out rounded.
        int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
        double ax = fx - ix, ay = fy - iy;
        auto m = [&](int u, int v) {
            if (u < 0 || v < 0 || u >= mask.width || v >= mask.height) return 0.0;
            return mask.pixels[static_cast<size_t>(v * mask.pitch + u)] ? 1.0 : 0.0;
        };
        return (m(ix, iy) * (1 - ax) + m(ix + 1, iy) * ax) * (1 - ay) +
               (m(ix, iy + 1) * (1 - ax) + m(ix + 1, iy + 1) * ax) * ay;
    };
    const int W = mask.width * scale, H = th * scale;
    std::vector<uint8_t> inside(static_cast<size_t>(W * H));
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i)
            inside[static_cast<size_t>(j * W + i)] =
                sample((i + 0.5) / scale - 0.5, (j + 0.5) / scale - 0.5) > 0.5;
    auto in = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < W && j < H && inside[static_cast<size_t>(j * W + i)];
    };
    // Find the rows the glyphs use, to spread the shading over them.
    int top = H, bottom = 0;
    for (int j = 0; j < H; ++j)
        for (int i = 0; i < W; ++i)
            if (in(i, j)) top = std::min(top, j), bottom = std::max(bottom, j);
    for (int j = -2; j < H + 2; ++j)
        for (int i = -2; i < W + 2; ++i) {
            int px = x + i - scale, py = y + j;
            if (in(i, j)) {
                double t = 1.0 - static_cast<double>(j - top) / std::max(1, bottom - top);
                canvas.Put(px, py, fill.Pick(0.25 + 0.75 * t, px, py));
            } else if (in(i - 1, j) || in(i + 1, j) || in(i, j - 1) || in(i, j + 1) ||
                       in(i - 2, j) || in(i, j - 2) || in(i + 1, j + 1) || in(i - 1, j - 1)) {
                canvas.Put(px, py, outline);
            }
        }
}

}  // namespace gen
