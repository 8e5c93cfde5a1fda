#include <cmath>

#include "artwork.h"

namespace tavrola::artwork {
namespace {

constexpr int kWidth = 794;
constexpr int kHeight = 569;
// The part of the picture the window shows; its right edge gets the frame's bevel too.
constexpr int kShownWidth = 549;

// Where the helix layer lies (it covers this exactly) and the chamfer that sinks it in.
constexpr double kWellLeft = 5.0;
constexpr double kWellTop = 5.0;
constexpr double kWellRight = 405.0;
constexpr double kWellBottom = 565.0;
constexpr double kChamfer = 4.0;

// A raised frame edge one pixel wide all round the shown face (and the hidden rest).
Rgb FrameBevel(double x, double y, const Rgb& inner) {
    const double right = x < kShownWidth ? kShownWidth : kWidth;
    const double left = x < kShownWidth ? 0.0 : kShownWidth;
    if (y < 1.0 || x - left < 1.0) {
        return Mix(inner, kFaceLight, 0.85);
    }
    if (kHeight - y < 1.0 || right - x < 1.0) {
        return Mix(inner, kFaceShade, 0.8);
    }
    return inner;
}

// The slopes down into the helix well: the top and left ones face away from the light.
Rgb WellChamfer(double x, double y, double distance, const Rgb& face) {
    const double cx = std::clamp(x, kWellLeft, kWellRight);
    const double cy = std::clamp(y, kWellTop, kWellBottom);
    // Each slope leans towards the well.
    const double lean_x = (cx - x) / distance;
    const double lean_y = (cy - y) / distance;
    const double lit = lean_x * kLightX + lean_y * kLightY;
    Rgb slope = lit > 0.0 ? Mix(face, kFaceLight, 0.9 * lit) : Mix(face, kFaceShade, -1.05 * lit);
    // A dark lip where the slope meets the well keeps its edge crisp against the spheres.
    if (distance < 1.0) {
        slope = Mix(slope, kInk, 0.75 * (1.0 - distance));
    }
    return slope;
}

// A small double helix pressed up out of the face, beside the exit button.
double EmblemHeight(double x, double y) {
    constexpr double kLeft = 418.0;
    constexpr double kRight = 468.0;
    constexpr double kMiddle = 530.0;
    constexpr double kAmplitude = 10.0;
    constexpr double kWave = 2.0 * 3.14159265358979323846 / 34.0;
    if (x < kLeft - 4.0 || x > kRight + 4.0 || std::abs(y - kMiddle) > kAmplitude + 5.0) {
        return 0.0;
    }
    const double taper =
        SmoothStep(kLeft - 2.0, kLeft + 6.0, x) * (1.0 - SmoothStep(kRight - 6.0, kRight + 2.0, x));
    double height = 0.0;
    for (const double phase : {0.0, 3.14159265358979323846}) {
        const double angle = (x - kLeft) * kWave + phase;
        const double centre = kMiddle + kAmplitude * std::sin(angle);
        const double slope = kAmplitude * kWave * std::cos(angle);
        const double distance = std::abs(y - centre) / std::sqrt(1.0 + slope * slope);
        // The strand in front stands higher than the one behind.
        const double depth = 0.75 + 0.25 * std::cos(angle);
        const double profile = std::max(0.0, 1.0 - (distance / 1.9) * (distance / 1.9));
        height = std::max(height, 1.6 * depth * std::sqrt(profile));
    }
    // Rungs between the strands, lower than the strands.
    for (int rung = 0; rung < 9; ++rung) {
        const double rx = kLeft + 3.0 + rung * 5.5;
        const double angle = (rx - kLeft) * kWave;
        const double reach = std::abs(kAmplitude * std::sin(angle)) - 1.5;
        if (reach <= 1.0) {
            continue;
        }
        const double distance = SegmentDistance(x, y, rx, kMiddle - reach, rx, kMiddle + reach);
        const double profile = std::max(0.0, 1.0 - (distance / 0.9) * (distance / 0.9));
        height = std::max(height, 0.7 * std::sqrt(profile));
    }
    return height * taper;
}

Rgb Emblem(double x, double y, const Rgb& face) {
    constexpr double kStep = 0.35;
    const double dx = (EmblemHeight(x + kStep, y) - EmblemHeight(x - kStep, y)) / (2.0 * kStep);
    const double dy = (EmblemHeight(x, y + kStep) - EmblemHeight(x, y - kStep)) / (2.0 * kStep);
    if (dx == 0.0 && dy == 0.0) {
        return face;
    }
    // How much more (or less) light the tilted surface catches than the flat face.
    const double lit = -(dx * kLightX + dy * kLightY) * 0.55;
    return lit > 0.0 ? Mix(face, kFaceLight, std::min(lit, 1.0))
                     : Mix(face, kFaceShade, std::min(-lit, 1.0));
}

Rgb ShadeBackground(double x, double y) {
    const double well = BoxDistance(x, y, kWellLeft, kWellTop, kWellRight, kWellBottom);
    if (well <= 0.0) {
        return Bytes(6, 8, 12);
    }
    if (well < kChamfer) {
        return WellChamfer(x, y, well, kFace);
    }
    return FrameBevel(x, y, Emblem(x, y, kFace));
}

}  // namespace

QImage DrawBackground() {
    return RenderOpaque(kWidth, kHeight, 4, ShadeBackground);
}

}  // namespace tavrola::artwork
