#include <cmath>

#include "artwork.h"

namespace tavrola::artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- The text bar: 115 x 32, the label's band centred on y = 15. ----

constexpr double kBarLeft = 2.5;
constexpr double kBarRight = 112.5;
constexpr double kBarTop = 1.5;
constexpr double kBarBottom = 29.0;
constexpr double kBarRadius = 8.0;

double BarDistance(double x, double y) {
    return RoundedBoxDistance(x, y, (kBarLeft + kBarRight) / 2.0, (kBarTop + kBarBottom) / 2.0,
                              (kBarRight - kBarLeft) / 2.0, (kBarBottom - kBarTop) / 2.0,
                              kBarRadius);
}

Rgb ShadeTextBar(double x, double y, bool sunk) {
    const double d = BarDistance(x, y);
    Rgb out = kFace;
    if (!sunk) {
        // The bar stands off the face and throws a soft shadow below it.
        const double shadow = BarDistance(x, y - 1.3);
        out = Over(out, kInk, 0.26 * (1.0 - SmoothStep(-1.0, 1.6, shadow)));
    } else {
        // Sunk in: the face's edge below the bar catches the light.
        const double rim = BarDistance(x, y - 1.0);
        if (d > 0.0 && rim < 0.0) {
            out = Over(out, kFaceLight, 0.8 * Inside(rim, 1.0));
        }
    }
    const double coverage = Inside(d, 0.9);
    if (coverage <= 0.0) {
        return out;
    }
    const double t = Clamp01((y - kBarTop) / (kBarBottom - kBarTop));
    Rgb body;
    if (!sunk) {
        // Pearl, brightest at the top, with a faint sheen over the upper half.
        body = Mix(Bytes(253, 254, 255), Bytes(218, 224, 231), t);
        body = Mix(body, Bytes(255, 255, 255), 0.35 * (1.0 - SmoothStep(0.25, 0.55, t)));
        // A bright line just inside the top edge, as light catches the bar's shoulder.
        const double shoulder = (1.0 - SmoothStep(0.0, 2.2, -d)) * (1.0 - SmoothStep(0.2, 0.6, t));
        body = Mix(body, Bytes(255, 255, 255), 0.8 * shoulder);
    } else {
        // Hollow: darker at the top, where the rim shades it.
        body = Mix(Bytes(196, 204, 213), Bytes(230, 234, 239), SmoothStep(0.0, 0.8, t));
        const double inner = BarDistance(x, y - 2.2);
        body = Mix(body, kInk, 0.32 * SmoothStep(-1.5, 1.2, inner));
    }
    // The outline: one soft slate line round the bar.
    const double outline = 1.0 - SmoothStep(0.0, 1.1, std::abs(d + 0.6));
    body = Mix(body, sunk ? Bytes(104, 116, 131) : Bytes(134, 145, 159), 0.9 * outline);
    return Over(out, body, coverage);
}

// ---- The exit button: a round power switch, 60 x 60. ----

constexpr double kCentreX = 30.0;
constexpr double kCentreY = 29.4;
constexpr double kOuter = 26.5;
constexpr double kBezel = 4.2;
constexpr double kGroove = 1.2;

// Distance to the power sign: a ring open at the top, and a stroke down into the gap.
double PowerSignDistance(double x, double y) {
    constexpr double kRing = 10.2;
    constexpr double kHalfGap = 40.0 * kPi / 180.0;
    const double px = x - kCentreX;
    const double py = y - kCentreY;
    const double angle = std::atan2(px, -py);  // 0 straight up
    double ring;
    if (std::abs(angle) >= kHalfGap) {
        ring = std::abs(std::hypot(px, py) - kRing);
    } else {
        // Round caps at the ends of the open ring.
        const double side = angle < 0.0 ? -1.0 : 1.0;
        const double ex = kCentreX + side * kRing * std::sin(kHalfGap);
        const double ey = kCentreY - kRing * std::cos(kHalfGap);
        ring = std::hypot(x - ex, y - ey);
    }
    const double stroke =
        SegmentDistance(x, y, kCentreX, kCentreY - 13.6, kCentreX, kCentreY - 3.2);
    return std::min(ring, stroke) - 1.75;
}

Rgb ShadeExitButton(double x, double y, bool lit) {
    const double r = std::hypot(x - kCentreX, y - kCentreY);
    Rgb out = Over(kFace, kInk,
                   0.28 * (1.0 - SmoothStep(kOuter - 1.5, kOuter + 2.6,
                                            std::hypot(x - kCentreX, y - kCentreY - 1.3))));
    const double coverage = Inside(r - kOuter, 0.9);
    if (coverage <= 0.0) {
        return out;
    }
    const double nx = (x - kCentreX) / std::max(r, 1e-9);
    const double ny = (y - kCentreY) / std::max(r, 1e-9);
    const double facing = nx * kLightX + ny * kLightY;  // -1 .. 1
    Rgb body;
    const double face_radius = kOuter - kBezel - kGroove;
    if (r > kOuter - kBezel) {
        // Brushed metal bezel, bright where it faces the light, with a dark outer edge.
        body = Mix(Bytes(150, 160, 173), Bytes(250, 251, 253), 0.5 + 0.5 * facing);
        body = Mix(body, Bytes(98, 108, 122), 1.0 - SmoothStep(0.0, 1.2, kOuter - r));
    } else if (r > face_radius) {
        // The groove between bezel and face.
        body = Mix(Bytes(78, 88, 102), Bytes(120, 130, 144), 0.5 - 0.5 * facing);
    } else {
        const double t = Clamp01((y - (kCentreY - face_radius)) / (2.0 * face_radius));
        if (!lit) {
            // A gently domed face.
            body = Mix(Bytes(250, 251, 252), Bytes(204, 211, 219), t);
            const double gloss =
                std::hypot((x - kCentreX + 6.0) / 12.0, (y - kCentreY + 9.0) / 7.0);
            body = Mix(body, Bytes(255, 255, 255), 0.55 * (1.0 - SmoothStep(0.4, 1.0, gloss)));
        } else {
            // Pressed in: a hollow, shaded under its upper rim and warmed by the sign's glow.
            body = Mix(Bytes(192, 199, 208), Bytes(234, 237, 241), SmoothStep(0.0, 0.85, t));
            const double rim = std::hypot(x - kCentreX, y - kCentreY + 2.2);
            body = Mix(body, kInk, 0.3 * SmoothStep(face_radius - 2.0, face_radius + 1.0, rim));
            body = Mix(body, Bytes(255, 214, 200), 0.35 * (1.0 - SmoothStep(4.0, 18.0, r)));
        }
        const double sign = PowerSignDistance(x, y);
        if (!lit) {
            // Engraved: a light edge under the slate stroke.
            const double below = PowerSignDistance(x, y - 0.9);
            body = Over(body, Bytes(255, 255, 255),
                        0.7 * Inside(below, 0.9) * (1.0 - Inside(sign, 0.9)));
            body = Over(body, Bytes(92, 104, 120), Inside(sign, 0.9));
        } else {
            // Lit from within: a warm halo and a hot core.
            const double halo =
                std::exp(-(std::max(sign, 0.0) / 3.2) * (std::max(sign, 0.0) / 3.2));
            body = Over(body, Bytes(255, 92, 64), 0.55 * halo);
            const Rgb core =
                Mix(Bytes(255, 232, 214), Bytes(244, 70, 52), SmoothStep(-1.6, 0.0, sign));
            body = Over(body, core, Inside(sign, 0.9));
        }
    }
    return Over(out, body, coverage);
}

}  // namespace

QImage DrawTextBar(bool sunk) {
    return RenderOpaque(115, 32, 6,
                        [sunk](double x, double y) { return ShadeTextBar(x, y, sunk); });
}

QImage DrawExitButton(bool lit) {
    return RenderOpaque(60, 60, 6,
                        [lit](double x, double y) { return ShadeExitButton(x, y, lit); });
}

}  // namespace tavrola::artwork
