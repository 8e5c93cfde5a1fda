#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrola {

// One pixel of a glowing disc, relative to its centre: the noise range [lo, hi] of its
// brightness before the colour is applied. `span` = hi - lo + 1; a span of 1 draws no noise.
struct DiscPixel {
    std::int32_t offset_x;
    std::int32_t offset_y;
    std::uint8_t lo;
    std::uint8_t span;
};

// Visits every pixel strictly inside a disc of the given radius, rows top to bottom and left
// to right within a row (the order in which the noise is drawn), with the brightness bounds the
// renderer computes for it. They depend on the radius alone, never on the centre.
void ForEachDiscPixel(int radius, const std::function<void(const DiscPixel&)>& visit);

// A disc's pixels kept in a list, so a render only walks the list.
struct DiscPattern {
    std::vector<DiscPixel> pixels;
    std::uint64_t noise_draws = 0;  // pixels whose span exceeds 1
};

DiscPattern BuildDiscPattern(int radius);

// The pattern of every radius up to kCachedDiscRadius (the helix uses 8 to 20), built once;
// null for any other radius, which callers then walk with ForEachDiscPixel.
inline constexpr int kCachedDiscRadius = 32;
const DiscPattern* CachedDiscPattern(int radius);

// How many numbers one render of a sphere of this radius draws from the generator, clipped
// or not: the same for every render, whatever the centre and the colour.
std::uint64_t SphereNoiseDraws(int radius);

}  // namespace tavrola
