#include "core/helix/surface_copy.h"

#include <gtest/gtest.h>

namespace tavrola {
namespace {

PixelSurface Numbered(int width, int height) {
    PixelSurface surface(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.At(x, y) =
                PackRgb(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 7);
        }
    }
    return surface;
}

TEST(CopyPictureAtOrigin, CopiesUnscaledToTheTopLeftAndLeavesTheRestAlone) {
    const PixelSurface picture = Numbered(3, 2);
    PixelSurface target(5, 4);
    target.Fill(PackRgb(255, 255, 255));
    CopyPictureAtOrigin(picture, target);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const std::uint32_t expected =
                picture.Contains(x, y) ? picture.At(x, y) : PackRgb(255, 255, 255);
            EXPECT_EQ(target.At(x, y), expected) << "at " << x << ", " << y;
        }
    }
}

TEST(CopyPictureAtOrigin, CutsAPictureLargerThanTheSurface) {
    const PixelSurface picture = Numbered(6, 5);
    PixelSurface target(4, 2);
    CopyPictureAtOrigin(picture, target);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(target.At(x, y), picture.At(x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(CopyPictureAtOrigin, EmptyPictureOrSurfaceChangesNothing) {
    PixelSurface target(2, 2);
    CopyPictureAtOrigin(PixelSurface(), target);
    EXPECT_EQ(target.pixels, PixelSurface(2, 2).pixels);
    PixelSurface empty;
    CopyPictureAtOrigin(Numbered(2, 2), empty);
    EXPECT_TRUE(empty.pixels.empty());
}

}  // namespace
}  // namespace tavrola
