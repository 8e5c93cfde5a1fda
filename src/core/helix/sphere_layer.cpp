#include "core/helix/sphere_layer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/helix/disc_pattern.h"

namespace tavrola {
namespace {

// One colour byte: trunc(v x component), modulo 256. A component far outside 0 to 1 cannot
// reach the table from the helix; should one ever, it gives black rather than an undefined
// conversion.
std::uint32_t ColourByte(int value, double component) {
    const double scaled = value * component;
    if (!(scaled > -2147483648.0 && scaled < 2147483648.0)) {
        return 0;
    }
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) & 0xffU;
}

// The pixel of every brightness 0 to 255 in one colour.
struct ColourRamp {
    std::array<std::uint64_t, 3> key{};  // the colour's bits
    std::array<std::uint32_t, 256> pixels{};
};

std::array<std::uint64_t, 3> ColourKey(const Sphere& sphere) {
    return {std::bit_cast<std::uint64_t>(sphere.red), std::bit_cast<std::uint64_t>(sphere.green),
            std::bit_cast<std::uint64_t>(sphere.blue)};
}

// The helix shows a dozen colours at most (black, four bases, their lit and dimmed forms), so a
// few ramps, kept per thread, spare three conversions per pixel.
const ColourRamp& RampFor(const Sphere& sphere) {
    static constexpr std::size_t kKeptRamps = 16;
    struct RampCache {
        std::array<ColourRamp, kKeptRamps> ramps;
        std::size_t filled = 0;
        std::size_t next = 0;
    };
    thread_local RampCache cache;
    const std::array<std::uint64_t, 3> key = ColourKey(sphere);
    for (std::size_t i = 0; i < cache.filled; ++i) {
        if (cache.ramps[i].key == key) {
            return cache.ramps[i];
        }
    }
    ColourRamp& ramp = cache.ramps[cache.next];
    cache.next = (cache.next + 1) % kKeptRamps;
    cache.filled = std::min(cache.filled + 1, kKeptRamps);
    ramp.key = key;
    for (int value = 0; value < 256; ++value) {
        ramp.pixels[static_cast<std::size_t>(value)] =
            PackRgb(ColourByte(value, sphere.red), ColourByte(value, sphere.green),
                    ColourByte(value, sphere.blue));
    }
    return ramp;
}

int NoiseValue(const DiscPixel& pixel, ProgramRandom& random) {
    if (pixel.span == 1) {
        return pixel.lo;
    }
    return pixel.lo + SpanRemainder(random.Next(), pixel.span);
}

bool DiscInside(const PixelSurface& surface, const Sphere& sphere) {
    // Wide arithmetic: a centre far off the surface must not overflow into it.
    const std::int64_t x = sphere.centre_x;
    const std::int64_t y = sphere.centre_y;
    const std::int64_t r = sphere.radius;
    return x - r >= 0 && y - r >= 0 && x + r < surface.width && y + r < surface.height;
}

void DrawClippedPixel(PixelSurface& surface, const Sphere& sphere, const ColourRamp& ramp,
                      const DiscPixel& pixel, ProgramRandom& random) {
    const int value = NoiseValue(pixel, random);
    const std::int64_t x = static_cast<std::int64_t>(sphere.centre_x) + pixel.offset_x;
    const std::int64_t y = static_cast<std::int64_t>(sphere.centre_y) + pixel.offset_y;
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) {
        return;  // dropped, but its noise was drawn
    }
    surface.At(static_cast<int>(x), static_cast<int>(y)) =
        ramp.pixels[static_cast<std::size_t>(value)];
}

void DrawSphere(PixelSurface& surface, const Sphere& sphere, ProgramRandom& random) {
    const DiscPattern* pattern = CachedDiscPattern(sphere.radius);
    if (pattern == nullptr) {
        // A radius the helix never uses: walked pixel by pixel, no list kept.
        const ColourRamp& ramp = RampFor(sphere);
        ForEachDiscPixel(sphere.radius, [&](const DiscPixel& pixel) {
            DrawClippedPixel(surface, sphere, ramp, pixel, random);
        });
        return;
    }
    if (pattern->pixels.empty()) {
        return;
    }
    const ColourRamp& ramp = RampFor(sphere);
    // A local copy of the generator: through the reference every draw would go to memory,
    // since the compiler cannot tell it apart from the pixels being written.
    ProgramRandom local_random = random;
    if (!DiscInside(surface, sphere)) {
        for (const DiscPixel& pixel : pattern->pixels) {
            DrawClippedPixel(surface, sphere, ramp, pixel, local_random);
        }
    } else {
        std::uint32_t* const centre = &surface.At(sphere.centre_x, sphere.centre_y);
        const std::ptrdiff_t stride = surface.width;
        for (const DiscPixel& pixel : pattern->pixels) {
            const int value = NoiseValue(pixel, local_random);
            centre[pixel.offset_y * stride + pixel.offset_x] =
                ramp.pixels[static_cast<std::size_t>(value)];
        }
    }
    random = local_random;
}

// The whole surface black. A plain store loop is what the compiler makes of a fill at this
// optimisation level, and the fill is most of a render; block copies of what is already black
// run several times faster.
void FillBlack(PixelSurface& surface) {
    std::uint32_t* const pixels = surface.pixels.data();
    const std::size_t total = surface.pixels.size();
    std::size_t filled = std::min<std::size_t>(total, 256);
    std::fill_n(pixels, filled, PixelSurface::kBlack);
    while (filled < total) {
        const std::size_t block = std::min(filled, total - filled);
        std::memcpy(pixels + filled, pixels, block * sizeof(std::uint32_t));
        filled += block;
    }
}

int StartUpSphereTotal(int pair_count) {
    if (pair_count <= 0) {
        return 0;
    }
    return std::min(2 * pair_count, kSphereSlotCount);
}

void AddStartUpSpheres(SphereLayer& layer, int sphere_total) {
    // SetUpSphereLayer added the first one.
    for (int added = 1; added < sphere_total; ++added) {
        AddSphere(layer);
    }
}

void TurnBlack(Sphere& sphere) {
    sphere.red = 0.0;
    sphere.green = 0.0;
    sphere.blue = 0.0;
}

}  // namespace

void SetUpSphereLayer(SphereLayer& layer, int width, int height, ProgramRandom& random) {
    layer.surface = PixelSurface(width, height);
    layer.table.count = 0;
    AddSphere(layer);
    RenderLayer(layer, random);
}

void AddSphere(SphereLayer& layer) {
    SphereTable& table = layer.table;
    if (table.count < 0 || table.count >= kSphereSlotCount) {
        return;
    }
    Sphere& sphere = table.spheres[static_cast<std::size_t>(table.count)];
    sphere.centre_x = layer.surface.width / 2;
    sphere.centre_y = layer.surface.height / 2;
    sphere.radius = kAddedSphereRadius;
    sphere.red = 1.0;
    sphere.green = 1.0;
    sphere.blue = 0.0;
    ++table.count;
}

void RenderLayer(SphereLayer& layer, ProgramRandom& random) {
    FillBlack(layer.surface);
    const int count = std::clamp(layer.table.count, 0, kSphereSlotCount);
    for (int slot = 0; slot < count; ++slot) {
        DrawSphere(layer.surface, layer.table.spheres[static_cast<std::size_t>(slot)], random);
    }
}

std::uint64_t LayerNoiseDraws(const SphereTable& table) {
    const int count = std::clamp(table.count, 0, kSphereSlotCount);
    std::uint64_t draws = 0;
    for (int slot = 0; slot < count; ++slot) {
        draws += SphereNoiseDraws(table.spheres[static_cast<std::size_t>(slot)].radius);
    }
    return draws;
}

void BuildStartUpSpheres(SphereLayer& layer, int pair_count, ProgramRandom& random) {
    const int sphere_total = StartUpSphereTotal(pair_count);
    AddStartUpSpheres(layer, sphere_total);
    if (sphere_total == 0) {
        return;
    }
    // Turning a sphere black changes no radius, so every render draws the same amount; all
    // but the last are overwritten before anyone sees them.
    for (int slot = 0; slot < sphere_total; ++slot) {
        TurnBlack(layer.table.spheres[static_cast<std::size_t>(slot)]);
    }
    random.Discard(static_cast<std::uint64_t>(sphere_total - 1) * LayerNoiseDraws(layer.table));
    RenderLayer(layer, random);
}

void BuildStartUpSpheresLiteral(SphereLayer& layer, int pair_count, ProgramRandom& random) {
    const int sphere_total = StartUpSphereTotal(pair_count);
    AddStartUpSpheres(layer, sphere_total);
    for (int slot = 0; slot < sphere_total; ++slot) {
        TurnBlack(layer.table.spheres[static_cast<std::size_t>(slot)]);
        RenderLayer(layer, random);
    }
}

}  // namespace tavrola
