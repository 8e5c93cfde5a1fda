#pragma once

#include <QImage>
#include <algorithm>
#include <cmath>
#include <functional>

// Small shading kit for the artwork: colours as doubles, signed distances to simple shapes
// (negative inside), and renderers that average several samples per pixel.
namespace tavrola::artwork {

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

struct Rgba {
    Rgb colour;
    double alpha = 0.0;
};

constexpr Rgb Bytes(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}

inline double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

inline double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

inline Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Rgb Scale(const Rgb& a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}

inline Rgb Add(const Rgb& a, const Rgb& b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

// Layer b with opacity alpha over a.
inline Rgb Over(const Rgb& a, const Rgb& b, double alpha) {
    return Mix(a, b, Clamp01(alpha));
}

inline Rgba Over(const Rgba& below, const Rgb& colour, double alpha) {
    alpha = Clamp01(alpha);
    const double out = alpha + below.alpha * (1.0 - alpha);
    if (out <= 0.0) {
        return {};
    }
    const double keep = below.alpha * (1.0 - alpha) / out;
    return {Mix(colour, below.colour, keep), out};
}

// Rounded rectangle centred at (cx, cy) with half sizes hw, hh and corner radius.
inline double RoundedBoxDistance(double x, double y, double cx, double cy, double hw, double hh,
                                 double radius) {
    const double qx = std::abs(x - cx) - (hw - radius);
    const double qy = std::abs(y - cy) - (hh - radius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

// Axis-aligned rectangle [left, right) x [top, bottom).
inline double BoxDistance(double x, double y, double left, double top, double right,
                          double bottom) {
    return RoundedBoxDistance(x, y, (left + right) / 2.0, (top + bottom) / 2.0,
                              (right - left) / 2.0, (bottom - top) / 2.0, 0.0);
}

inline double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
    const double px = x - ax;
    const double py = y - ay;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length_squared = dx * dx + dy * dy;
    const double t = length_squared > 0.0 ? Clamp01((px * dx + py * dy) / length_squared) : 0.0;
    return std::hypot(px - dx * t, py - dy * t);
}

// Coverage of a pixel sample by a shape with distance d, softened over one sample width.
inline double Inside(double d, double softness = 0.5) {
    return Clamp01(0.5 - d / softness);
}

// Averages shade over samples x samples points of each pixel; 24-bit colour.
QImage RenderOpaque(int width, int height, int samples,
                    const std::function<Rgb(double x, double y)>& shade);

// The same with straight alpha, for the icon.
QImage RenderWithAlpha(int width, int height, int samples,
                       const std::function<Rgba(double x, double y)>& shade);

}  // namespace tavrola::artwork
