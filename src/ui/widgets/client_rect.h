#pragma once

namespace tavrola {

// A rectangle in the main window's client pixels, given by its edges; right and bottom lie just
// outside it, so the size is right - left by bottom - top.
struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

}  // namespace tavrola
