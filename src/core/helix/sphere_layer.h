#pragma once

#include <array>
#include <cstdint>

#include "core/helix/pixel_surface.h"
#include "core/music/program_random.h"

namespace tavrola {

inline constexpr int kSphereSlotCount = 40;
inline constexpr int kSphereLayerWidth = 400;
inline constexpr int kSphereLayerHeight = 560;
inline constexpr int kAddedSphereRadius = 20;

// One glowing disc: centre and radius in layer pixels, colour components from 0 to 1.
struct Sphere {
    int centre_x = 0;
    int centre_y = 0;
    int radius = 0;
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    bool operator==(const Sphere&) const = default;
};

// The spheres that make up the picture. Slots are drawn in ascending order, so a higher slot
// covers a lower one; the helix relies on that for which sphere of a pair lies in front.
struct SphereTable {
    std::array<Sphere, kSphereSlotCount> spheres{};
    int count = 0;  // slots in use, 0 to kSphereSlotCount
    bool operator==(const SphereTable&) const = default;
};

// The helix picture: the table and the surface it is drawn into. The window presents the
// surface as it is; only a render changes it.
struct SphereLayer {
    PixelSurface surface;
    SphereTable table;
};

// A new black surface of the given size, an empty table, then one sphere added and drawn.
void SetUpSphereLayer(SphereLayer& layer, int width, int height, ProgramRandom& random);

// Appends a yellow sphere of radius 20 at the centre of the surface. A full table is left as
// it is.
void AddSphere(SphereLayer& layer);

// Redraws the whole surface: black, then every sphere in slot order as a disc whose brightness
// falls from the centre to the rim, with one draw of the generator for every pixel whose noise
// range is wider than one value (clipped pixels draw too, they are just not written).
void RenderLayer(SphereLayer& layer, ProgramRandom& random);

// How many numbers one render of this table draws.
std::uint64_t LayerNoiseDraws(const SphereTable& table);

// The window's start-up after SetUpSphereLayer: spheres added up to two per pair, then each
// slot in turn turned black and the layer rendered. Ends with every sphere black at the centre,
// radius 20, and a black surface. Only the last render is drawn; the generator is moved on by
// exactly what the others would have drawn.
void BuildStartUpSpheres(SphereLayer& layer, int pair_count, ProgramRandom& random);
// The same, rendering after every slot as the steps say; the reference for the one above.
void BuildStartUpSpheresLiteral(SphereLayer& layer, int pair_count, ProgramRandom& random);

}  // namespace tavrola
