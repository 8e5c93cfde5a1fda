#include <cmath>

#include "artwork.h"

namespace tavrola::artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The helix's base colours: C magenta, A orange, G blue, T yellow.
constexpr Rgb kBaseColours[4] = {
    {1.0, 0.0, 0.6}, {1.0, 0.6, 0.0}, {0.3, 0.3, 1.0}, {0.8, 0.8, 0.0}};
// Pairs shown from the top: C-G, A-T, G-C, T-A, C-G.
constexpr int kPairs[5][2] = {{0, 2}, {1, 3}, {2, 0}, {3, 1}, {0, 2}};

struct Sphere {
    double x;
    double y;
    double radius;
    Rgb colour;
    double depth;  // larger is nearer
};

// A glowing disc: bright at the heart, falling off to its rim, as the helix layer draws them.
Rgba ShadeSphere(const Sphere& s, double x, double y, double softness) {
    const double d = std::hypot(x - s.x, y - s.y);
    const double coverage = Inside(d - s.radius, softness);
    if (coverage <= 0.0) {
        return {};
    }
    const double t = Clamp01(d / s.radius);
    Rgb colour = Scale(s.colour, 1.0 - 0.55 * t * t);
    // A small white highlight towards the light.
    const double spot = std::hypot(x - (s.x - 0.35 * s.radius), y - (s.y - 0.4 * s.radius));
    colour =
        Mix(colour, Bytes(255, 255, 255), 0.65 * (1.0 - SmoothStep(0.0, 0.45 * s.radius, spot)));
    return {colour, coverage};
}

Rgba ShadeIcon(double x, double y, int size) {
    const double u = x / size;
    const double v = y / size;
    const double px = 1.0 / size;  // one pixel in tile units
    // The tile: a deep night-blue rounded square with a fine light rim.
    const double tile = RoundedBoxDistance(u, v, 0.5, 0.5, 0.46, 0.46, 0.2);
    Rgba out;
    const double tile_cover = Inside(tile / px, 1.0);
    if (tile_cover <= 0.0) {
        return out;
    }
    Rgb ground = Mix(Bytes(28, 46, 92), Bytes(7, 11, 26), SmoothStep(0.05, 0.95, v));
    ground = Mix(ground, Bytes(120, 150, 210),
                 0.5 * (1.0 - SmoothStep(0.0, 1.6 * px, std::abs(tile + 0.9 * px))));
    out = Over(out, ground, tile_cover);

    // Fewer pairs on the smallest icons, so each sphere keeps a few pixels.
    const int pairs = size < 24 ? 3 : (size < 48 ? 4 : 5);
    const double top = 0.2;
    const double bottom = 0.8;
    const double spacing = (bottom - top) / (pairs - 1);
    const double swing = 0.25;
    const double radius = size < 24 ? 0.095 : (size < 48 ? 0.082 : 0.07);
    const double turn = (2.0 * kPi / 5.2) * (4.0 / pairs);  // angle from one pair to the next
    // The two backbones, the nearer one brighter.
    const double along = (v - top) / spacing;
    const double reach = 1.0 - SmoothStep(0.0, 0.06, std::max(top - v, v - bottom));
    if (reach > 0.0) {
        const double angle = 0.35 + along * turn;
        const double slope = swing * std::cos(angle) * turn / spacing;
        for (const double side : {1.0, -1.0}) {
            const double centre = 0.5 + side * swing * std::sin(angle);
            const double distance = std::abs(u - centre) / std::sqrt(1.0 + slope * slope);
            const double near = 0.5 + 0.5 * side * std::cos(angle);
            out = Over(out, Bytes(150, 180, 240),
                       (0.25 + 0.4 * near) * reach * Inside((distance - 0.014) / px, 1.0));
        }
    }
    Sphere spheres[10];
    int count = 0;
    for (int i = 0; i < pairs; ++i) {
        const double angle = 0.35 + i * turn;
        const double py = top + i * spacing;
        const double sway = swing * std::sin(angle);
        const double depth = std::cos(angle);
        // The rung behind the spheres.
        const double rung = SegmentDistance(u, v, 0.5 - sway, py, 0.5 + sway, py);
        out = Over(out, Bytes(170, 190, 235), 0.45 * Inside((rung - 0.011) / px, 1.0));
        spheres[count++] = {0.5 + sway, py, radius * (1.0 + 0.28 * depth),
                            kBaseColours[kPairs[i][0]], depth};
        spheres[count++] = {0.5 - sway, py, radius * (1.0 - 0.28 * depth),
                            kBaseColours[kPairs[i][1]], -depth};
    }
    // Far spheres first, so near ones cover them.
    std::sort(spheres, spheres + count,
              [](const Sphere& a, const Sphere& b) { return a.depth < b.depth; });
    for (int i = 0; i < count; ++i) {
        const Rgba sphere = ShadeSphere(spheres[i], u, v, px);
        if (sphere.alpha > 0.0) {
            out = Over(out, sphere.colour, sphere.alpha * tile_cover);
        }
    }
    return out;
}

}  // namespace

QImage DrawIcon(int size) {
    const int samples = size <= 32 ? 8 : 4;
    return RenderWithAlpha(size, size, samples,
                           [size](double x, double y) { return ShadeIcon(x, y, size); });
}

}  // namespace tavrola::artwork
