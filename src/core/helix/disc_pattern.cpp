#include "core/helix/disc_pattern.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace tavrola {

void ForEachDiscPixel(int radius, const std::function<void(const DiscPixel&)>& visit) {
    if (radius <= 0) {
        return;  // no pixel lies strictly inside a disc of radius 0
    }
    const double disc_radius = std::sqrt(static_cast<double>(radius) * radius);
    for (int offset_y = -radius; offset_y <= radius; ++offset_y) {
        for (int offset_x = -radius; offset_x <= radius; ++offset_x) {
            // The exact integer sum of squares, then one rounding (not hypot).
            const std::int64_t square = static_cast<std::int64_t>(offset_x) * offset_x +
                                        static_cast<std::int64_t>(offset_y) * offset_y;
            const double distance = std::sqrt(static_cast<double>(square));
            if (!(distance < disc_radius)) {
                continue;
            }
            const double height = 1.0 - distance / disc_radius;
            const int hi = static_cast<int>(height * 255.0);
            const int lo = static_cast<int>(height * 200.0);
            visit(DiscPixel{offset_x, offset_y, static_cast<std::uint8_t>(lo),
                            static_cast<std::uint8_t>(hi - lo + 1)});
        }
    }
}

DiscPattern BuildDiscPattern(int radius) {
    DiscPattern pattern;
    ForEachDiscPixel(radius, [&pattern](const DiscPixel& pixel) {
        pattern.pixels.push_back(pixel);
        if (pixel.span > 1) {
            ++pattern.noise_draws;
        }
    });
    return pattern;
}

const DiscPattern* CachedDiscPattern(int radius) {
    static const std::array<DiscPattern, kCachedDiscRadius + 1> patterns = [] {
        std::array<DiscPattern, kCachedDiscRadius + 1> built;
        for (int cached = 0; cached <= kCachedDiscRadius; ++cached) {
            built[static_cast<std::size_t>(cached)] = BuildDiscPattern(cached);
        }
        return built;
    }();
    if (radius < 0 || radius > kCachedDiscRadius) {
        return nullptr;
    }
    return &patterns[static_cast<std::size_t>(radius)];
}

std::uint64_t SphereNoiseDraws(int radius) {
    if (const DiscPattern* cached = CachedDiscPattern(radius)) {
        return cached->noise_draws;
    }
    std::uint64_t draws = 0;
    ForEachDiscPixel(radius, [&draws](const DiscPixel& pixel) {
        if (pixel.span > 1) {
            ++draws;
        }
    });
    return draws;
}

}  // namespace tavrola
