#pragma once

#include <QIcon>

#include "core/helix/pixel_surface.h"

namespace tavrola {

// A picture of the program's own resources, ready to be copied into surfaces.
struct ImageRecord {
    PixelSurface picture;
    // Colour bits per pixel as stored (24 for the program's pictures); 0 when nothing loaded.
    int depth = 0;

    int Width() const { return picture.width; }
    int Height() const { return picture.height; }
};

// Loads bitmap id (129 to 133) from the compiled-in resources; an unknown id gives an empty
// record, which copies nothing.
ImageRecord LoadBitmapResource(int id);

// Copies the image to (0, 0) of the surface, unscaled and cut at the surface's edges.
void CopyImageToSurface(const ImageRecord& image, PixelSurface& surface);

// The program's icon (resource 128) at every size it is drawn in.
QIcon LoadProgramIcon();

}  // namespace tavrola
