#pragma once

#include <array>
#include <cstddef>
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

// The widest noise range: hi - lo + 1 with hi = trunc(h x 255), lo = trunc(h x 200), h <= 1.
inline constexpr int kMaxNoiseSpan = 56;

// draw % span for a generator draw (0 to 32767) and a span of 1 to kMaxNoiseSpan, by one
// multiplication instead of a division: with m = ceil(2^32 / span) the quotient
// (draw x m) >> 32 is exact because draw x (m x span - 2^32) < 2^15 x 56 < 2^32.
inline int SpanRemainder(int draw, int span) {
    static constexpr auto kMagic = [] {
        std::array<std::uint64_t, kMaxNoiseSpan + 1> magic{};
        for (int divisor = 1; divisor <= kMaxNoiseSpan; ++divisor) {
            magic[static_cast<std::size_t>(divisor)] =
                ((std::uint64_t{1} << 32) + static_cast<std::uint64_t>(divisor) - 1) /
                static_cast<std::uint64_t>(divisor);
        }
        return magic;
    }();
    const auto value = static_cast<std::uint64_t>(draw);
    const std::uint64_t quotient = (value * kMagic[static_cast<std::size_t>(span)]) >> 32;
    return static_cast<int>(value - quotient * static_cast<std::uint64_t>(span));
}

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
