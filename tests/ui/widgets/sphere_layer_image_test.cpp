#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>

#include "core/helix/helix_geometry.h"
#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/sequence/base_sequence.h"

namespace tavrola {
namespace {

// The surface seen through a QImage without a copy, as the window presents it.
QImage WrapSurface(const PixelSurface& surface) {
    return QImage(reinterpret_cast<const uchar*>(surface.pixels.data()), surface.width,
                  surface.height, surface.width * 4, QImage::Format_RGB32);
}

// The layer as the window shows it right after ACGTACGTACGTAC has been loaded.
SphereLayer LoadedLayer() {
    ProgramRandom random;
    SphereLayer layer;
    SetUpSphereLayer(layer, kSphereLayerWidth, kSphereLayerHeight, random);
    BuildStartUpSpheres(layer, kDefaultPairCount, random);
    PerformanceState state;
    state.sequence = ParseSequenceText("ACGTACGTACGTAC");
    state.helix_phase = 1.0;
    RecomputeHelix(state, layer, random);
    RenderLayer(layer, random);
    return layer;
}

TEST(SphereLayerImage, QtSeesTheColoursTheHelixDrew) {
    const SphereLayer layer = LoadedLayer();
    const QImage image = WrapSurface(layer.surface);

    // Pair 0, about to be played: adenine lit (1, 1, 0.5) at (284, 66).
    const QRgb adenine = image.pixel(284, 66);
    EXPECT_GE(qRed(adenine), 200);
    EXPECT_EQ(qGreen(adenine), qRed(adenine));
    EXPECT_EQ(qBlue(adenine), qRed(adenine) / 2);
    // Pair 1: cytosine (1, 0, 0.6) at (299, 107) on the right, guanine (0.3, 0.3, 1) at
    // (100, 107) on the left.
    const QRgb cytosine = image.pixel(299, 107);
    EXPECT_GE(qRed(cytosine), 200);
    EXPECT_EQ(qGreen(cytosine), 0);
    EXPECT_EQ(qBlue(cytosine), static_cast<int>(qRed(cytosine) * 0.6));
    const QRgb guanine = image.pixel(100, 107);
    EXPECT_GE(qBlue(guanine), 200);
    EXPECT_EQ(qRed(guanine), static_cast<int>(qBlue(guanine) * 0.3));
    EXPECT_EQ(qGreen(guanine), qRed(guanine));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));

    // TAVROLA_SNAPSHOT_DIR=folder keeps the picture for a look.
    const QString folder = qEnvironmentVariable("TAVROLA_SNAPSHOT_DIR");
    if (!folder.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(image.save(QDir(folder).filePath(QStringLiteral("helix_layer.png"))));
    }
}

}  // namespace
}  // namespace tavrola
