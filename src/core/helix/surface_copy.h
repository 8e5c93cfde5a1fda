#pragma once

#include "core/helix/pixel_surface.h"

namespace tavrola {

// Copies a picture into a surface with its top left at (0, 0), unscaled: where the surface is
// larger the rest keeps what it held, where it is smaller the picture is cut.
void CopyPictureAtOrigin(const PixelSurface& picture, PixelSurface& target);

}  // namespace tavrola
