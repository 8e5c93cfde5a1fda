#include "ui/widgets/background_panel.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QWidget>

#include "export/face/image_record.h"
#include "export/face/resource_ids.h"

namespace tavrola {
namespace {

TEST(ProgramPictures, EveryBitmapLoadsAtItsSizeWith24BitsAndAnUnknownIdLoadsNothing) {
    struct Expected {
        int id;
        int width;
        int height;
    };
    for (const Expected& expected :
         {Expected{kBackgroundBitmap, 794, 569}, Expected{kExitReleasedBitmap, 60, 60},
          Expected{kTextBarPressedBitmap, 115, 32}, Expected{kTextBarReleasedBitmap, 115, 32},
          Expected{kExitPressedBitmap, 60, 60}}) {
        const ImageRecord image = LoadBitmapResource(expected.id);
        EXPECT_EQ(image.Width(), expected.width) << "bitmap " << expected.id;
        EXPECT_EQ(image.Height(), expected.height) << "bitmap " << expected.id;
        EXPECT_EQ(image.depth, 24) << "bitmap " << expected.id;
    }
    const ImageRecord unknown = LoadBitmapResource(kProgramIcon);
    EXPECT_EQ(unknown.Width(), 0);
    EXPECT_EQ(unknown.depth, 0);
}

TEST(ProgramPictures, TheIconComesAtTheUsualSizes) {
    const QIcon icon = LoadProgramIcon();
    for (const int size : {16, 32, 48, 256}) {
        EXPECT_EQ(icon.pixmap(size).size(), QSize(size, size)) << "size " << size;
    }
}

TEST(BackgroundPanel, ShowsTheTopLeftOfThePictureAndLetsTheMouseThrough) {
    QWidget window;
    COffScreenControl control(&window);
    const auto panel = CreateBackgroundPanel(ClientRect{0, 0, 549, 569}, control);
    EXPECT_EQ(control.geometry(), QRect(0, 0, 549, 569));
    EXPECT_EQ(panel->Control(), &control);
    EXPECT_EQ(control.Key(), -1);
    EXPECT_TRUE(control.testAttribute(Qt::WA_TransparentForMouseEvents));
    const PixelSurface& surface = panel->Surface();
    const PixelSurface& picture = panel->BackgroundImage().picture;
    ASSERT_EQ(surface.width, 549);
    ASSERT_EQ(surface.height, 569);
    for (int y = 0; y < 569; ++y) {
        for (int x = 0; x < 549; ++x) {
            ASSERT_EQ(surface.At(x, y), picture.At(x, y)) << "at " << x << ", " << y;
        }
    }
    panel->DestroyBackgroundPanel();
    EXPECT_EQ(panel->Surface().width, 0);
}

TEST(BackgroundPanel, BeyondAPictureSmallerThanThePanelTheSurfaceStaysBlack) {
    QWidget window;
    COffScreenControl control(&window);
    const auto panel = CreateBackgroundPanel(ClientRect{0, 0, 800, 600}, control);
    const PixelSurface& surface = panel->Surface();
    EXPECT_EQ(surface.At(799, 10), PixelSurface::kBlack);
    EXPECT_EQ(surface.At(10, 599), PixelSurface::kBlack);
    EXPECT_EQ(surface.At(10, 10), panel->BackgroundImage().picture.At(10, 10));
}

}  // namespace
}  // namespace tavrola
