#pragma once

namespace tavrola {

// The main window's client area: what its designed 555 x 600 outer frame leaves.
inline constexpr int kMainWindowClientWidth = 549;
inline constexpr int kMainWindowClientHeight = 569;

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
