#pragma once

#include <cmath>
#include <cstdint>

#include "core/helix/pixel_surface.h"
#include "core/helix/sphere_layer.h"
#include "core/music/program_random.h"

namespace tavrola::testing {

// The renderer written pixel by pixel exactly as its steps read, with no precomputation: the
// yardstick for the table-driven renderer of the core.
inline void RenderLayerBySteps(SphereLayer& layer, ProgramRandom& random) {
    PixelSurface& surface = layer.surface;
    surface.Fill(PixelSurface::kBlack);
    for (int slot = 0; slot < layer.table.count; ++slot) {
        const Sphere& sphere = layer.table.spheres[static_cast<std::size_t>(slot)];
        const std::int64_t cx = sphere.centre_x;
        const std::int64_t cy = sphere.centre_y;
        const std::int64_t r = sphere.radius;
        for (std::int64_t y = cy - r; y <= cy + r; ++y) {
            for (std::int64_t x = cx - r; x <= cx + r; ++x) {
                const double d =
                    std::sqrt(static_cast<double>((x - cx) * (x - cx) + (y - cy) * (y - cy)));
                const double disc_radius = std::sqrt(static_cast<double>(r * r));
                if (!(d < disc_radius)) {
                    continue;
                }
                const double h = 1.0 - d / disc_radius;
                const int hi = static_cast<int>(h * 255.0);
                const int lo = static_cast<int>(h * 200.0);
                const int v = lo == hi ? lo : lo + random.Next() % (hi - lo + 1);
                if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) {
                    continue;
                }
                surface.At(static_cast<int>(x), static_cast<int>(y)) =
                    PackRgb(static_cast<std::uint32_t>(static_cast<int>(v * sphere.red)),
                            static_cast<std::uint32_t>(static_cast<int>(v * sphere.green)),
                            static_cast<std::uint32_t>(static_cast<int>(v * sphere.blue)));
            }
        }
    }
}

// Colour bytes of a 0xffRRGGBB pixel.
inline int RedOf(std::uint32_t pixel) {
    return static_cast<int>((pixel >> 16) & 0xffU);
}
inline int GreenOf(std::uint32_t pixel) {
    return static_cast<int>((pixel >> 8) & 0xffU);
}
inline int BlueOf(std::uint32_t pixel) {
    return static_cast<int>(pixel & 0xffU);
}

}  // namespace tavrola::testing
