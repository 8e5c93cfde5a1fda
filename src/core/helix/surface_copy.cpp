#include "core/helix/surface_copy.h"

#include <algorithm>
#include <cstddef>

namespace tavrola {

void CopyPictureAtOrigin(const PixelSurface& picture, PixelSurface& target) {
    const int width = std::min(picture.width, target.width);
    const int height = std::min(picture.height, target.height);
    if (width <= 0 || height <= 0) {
        return;
    }
    for (int y = 0; y < height; ++y) {
        const auto source_row =
            picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        std::copy(source_row, source_row + width, &target.At(0, y));
    }
}

}  // namespace tavrola
