#include "helix/sphere_layer.h"

#include <algorithm>
#include <cstddef>

#include "helix/disc_pattern.h"

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

void DrawDiscPixel(PixelSurface& surface, const Sphere& sphere, const DiscPixel& pixel,
                   ProgramRandom& random) {
    int value = pixel.lo;
    if (pixel.span > 1) {
        value += random.Next() % pixel.span;
    }
    // Wide arithmetic: a centre far off the surface must not overflow into it.
    const std::int64_t x = static_cast<std::int64_t>(sphere.centre_x) + pixel.offset_x;
    const std::int64_t y = static_cast<std::int64_t>(sphere.centre_y) + pixel.offset_y;
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) {
        return;
    }
    surface.At(static_cast<int>(x), static_cast<int>(y)) =
        PackRgb(ColourByte(value, sphere.red), ColourByte(value, sphere.green),
                ColourByte(value, sphere.blue));
}

void DrawSphere(PixelSurface& surface, const Sphere& sphere, ProgramRandom& random) {
    if (const DiscPattern* pattern = CachedDiscPattern(sphere.radius)) {
        for (const DiscPixel& pixel : pattern->pixels) {
            DrawDiscPixel(surface, sphere, pixel, random);
        }
        return;
    }
    ForEachDiscPixel(sphere.radius, [&](const DiscPixel& pixel) {
        DrawDiscPixel(surface, sphere, pixel, random);
    });
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

void SetUpSphereLayer(SphereLayer& layer, int width, int height) {
    SetUpSphereLayer(layer, width, height, SharedRandom());
}

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
    Sphere& sphere = table.slots[static_cast<std::size_t>(table.count)];
    sphere.centre_x = layer.surface.width / 2;
    sphere.centre_y = layer.surface.height / 2;
    sphere.radius = kAddedSphereRadius;
    sphere.red = 1.0;
    sphere.green = 1.0;
    sphere.blue = 0.0;
    ++table.count;
}

void RenderLayer(SphereLayer& layer) {
    RenderLayer(layer, SharedRandom());
}

void RenderLayer(SphereLayer& layer, ProgramRandom& random) {
    layer.surface.Fill(PixelSurface::kBlack);
    const int count = std::clamp(layer.table.count, 0, kSphereSlotCount);
    for (int slot = 0; slot < count; ++slot) {
        DrawSphere(layer.surface, layer.table.slots[static_cast<std::size_t>(slot)], random);
    }
}

std::uint64_t LayerNoiseDraws(const SphereTable& table) {
    const int count = std::clamp(table.count, 0, kSphereSlotCount);
    std::uint64_t draws = 0;
    for (int slot = 0; slot < count; ++slot) {
        draws += SphereNoiseDraws(table.slots[static_cast<std::size_t>(slot)].radius);
    }
    return draws;
}

void BuildStartUpSpheres(SphereLayer& layer, int pair_count) {
    BuildStartUpSpheres(layer, pair_count, SharedRandom());
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
        TurnBlack(layer.table.slots[static_cast<std::size_t>(slot)]);
    }
    random.Discard(static_cast<std::uint64_t>(sphere_total - 1) * LayerNoiseDraws(layer.table));
    RenderLayer(layer, random);
}

void BuildStartUpSpheresLiteral(SphereLayer& layer, int pair_count, ProgramRandom& random) {
    const int sphere_total = StartUpSphereTotal(pair_count);
    AddStartUpSpheres(layer, sphere_total);
    for (int slot = 0; slot < sphere_total; ++slot) {
        TurnBlack(layer.table.slots[static_cast<std::size_t>(slot)]);
        RenderLayer(layer, random);
    }
}

}  // namespace tavrola
