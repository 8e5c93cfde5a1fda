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

// A small double helix printed beside the exit button, in the helix's own colours softened
// into the face: C magenta, A orange, G blue, T yellow.
constexpr Rgb kBaseColours[4] = {
    {1.0, 0.0, 0.6}, {1.0, 0.6, 0.0}, {0.3, 0.3, 1.0}, {0.8, 0.8, 0.0}};

Rgb Emblem(double x, double y, const Rgb& face) {
    constexpr double kLeft = 420.0;
    constexpr double kMiddle = 530.0;
    constexpr double kAmplitude = 8.0;
    constexpr double kPairStep = 5.0;
    constexpr int kPairCount = 10;
    constexpr double kTurn = 0.6041524333653846;  // the big helix's step from pair to pair
    constexpr double kRight = kLeft + kPairStep * (kPairCount - 1);
    if (x < kLeft - 4.0 || x > kRight + 4.0 || std::abs(y - kMiddle) > kAmplitude + 4.0) {
        return face;
    }
    Rgb out = face;
    // The backbones, faint slate threads; the one behind fainter still.
    const double angle = (x - kLeft) / kPairStep * kTurn;
    const double slope = kAmplitude * std::cos(angle) * kTurn / kPairStep;
    const double ends =
        SmoothStep(kLeft - 3.0, kLeft, x) * (1.0 - SmoothStep(kRight, kRight + 3.0, x));
    for (const double side : {1.0, -1.0}) {
        const double centre = kMiddle + side * kAmplitude * std::sin(angle);
        const double distance = std::abs(y - centre) / std::sqrt(1.0 + slope * slope);
        const double near = 0.5 + 0.5 * side * std::cos(angle);
        out = Over(out, kFaceShade, (0.25 + 0.35 * near) * ends * Inside(distance - 0.45, 1.0));
    }
    // The pairs, each joined by a rung, far sphere first.
    constexpr int kPairs[4][2] = {{0, 2}, {1, 3}, {2, 0}, {3, 1}};
    for (int i = 0; i < kPairCount; ++i) {
        const double pair_angle = i * kTurn;
        const double px = kLeft + i * kPairStep;
        const double depth = std::cos(pair_angle);
        const double reach = kAmplitude * std::sin(pair_angle);
        const double rung = SegmentDistance(x, y, px, kMiddle - reach, px, kMiddle + reach);
        out = Over(out, kFaceShade, 0.3 * Inside(rung - 0.35, 1.0));
        for (const double side : {depth < 0.0 ? 1.0 : -1.0, depth < 0.0 ? -1.0 : 1.0}) {
            const double near = 0.5 + 0.5 * side * depth;
            const double radius = 1.2 + 1.0 * near;
            const double py = kMiddle + side * kAmplitude * std::sin(pair_angle);
            const double distance = std::hypot(x - px, y - py);
            const Rgb base = kBaseColours[kPairs[i % 4][side > 0.0 ? 0 : 1]];
            const Rgb colour = Mix(base, face, 0.55 - 0.25 * near);
            out = Over(out, Mix(colour, Bytes(255, 255, 255), 0.3 * (1.0 - distance / radius)),
                       Inside(distance - radius, 1.0));
        }
    }
    return out;
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
