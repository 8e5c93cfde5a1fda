#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrola {

// A control's private picture: 32-bit pixels 0xffRRGGBB (red in the high byte, so Qt can show
// the buffer as it is), row by row from the top left. A new surface is black.
struct PixelSurface {
    static constexpr std::uint32_t kBlack = 0xff000000U;

    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelSurface() = default;
    PixelSurface(int surface_width, int surface_height)
        : width(surface_width > 0 ? surface_width : 0),
          height(surface_height > 0 ? surface_height : 0),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kBlack) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t& At(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    void Fill(std::uint32_t colour) { pixels.assign(pixels.size(), colour); }
};

constexpr std::uint32_t PackRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return 0xff000000U | ((red & 0xffU) << 16) | ((green & 0xffU) << 8) | (blue & 0xffU);
}

}  // namespace tavrola
