#include "shading.h"

#include <cmath>

namespace tavrola::artwork {
namespace {

int ToByte(double v) {
    return static_cast<int>(std::lround(Clamp01(v) * 255.0));
}

}  // namespace

QImage RenderOpaque(int width, int height, int samples,
                    const std::function<Rgb(double x, double y)>& shade) {
    QImage image(width, height, QImage::Format_RGB888);
    const double step = 1.0 / samples;
    const double weight = 1.0 / (samples * samples);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    sum = Add(sum, shade(x + (sx + 0.5) * step, y + (sy + 0.5) * step));
                }
            }
            row[x * 3 + 0] = static_cast<uchar>(ToByte(sum.r * weight));
            row[x * 3 + 1] = static_cast<uchar>(ToByte(sum.g * weight));
            row[x * 3 + 2] = static_cast<uchar>(ToByte(sum.b * weight));
        }
    }
    return image;
}

QImage RenderWithAlpha(int width, int height, int samples,
                       const std::function<Rgba(double x, double y)>& shade) {
    QImage image(width, height, QImage::Format_ARGB32);
    const double step = 1.0 / samples;
    const double weight = 1.0 / (samples * samples);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Average premultiplied, so edges do not darken.
            Rgb sum;
            double alpha = 0.0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const Rgba sample = shade(x + (sx + 0.5) * step, y + (sy + 0.5) * step);
                    sum = Add(sum, Scale(sample.colour, sample.alpha));
                    alpha += sample.alpha;
                }
            }
            alpha *= weight;
            const Rgb colour = alpha > 0.0 ? Scale(sum, weight / alpha) : Rgb{};
            row[x] = qRgba(ToByte(colour.r), ToByte(colour.g), ToByte(colour.b), ToByte(alpha));
        }
    }
    return image;
}

}  // namespace tavrola::artwork
