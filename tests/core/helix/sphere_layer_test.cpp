#include "core/helix/sphere_layer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "core/helix/disc_pattern.h"
#include "core/music/program_random.h"
#include "support/helix/render_by_steps.h"

namespace tavrola {
namespace {

using testing::BlueOf;
using testing::GreenOf;
using testing::RedOf;

// A layer of the program's size holding exactly the given spheres.
SphereLayer LayerWith(std::initializer_list<Sphere> spheres) {
    SphereLayer layer;
    layer.surface = PixelSurface(kSphereLayerWidth, kSphereLayerHeight);
    for (const Sphere& sphere : spheres) {
        layer.table.spheres[static_cast<std::size_t>(layer.table.count++)] = sphere;
    }
    return layer;
}

bool AllBlack(const PixelSurface& surface) {
    for (std::uint32_t pixel : surface.pixels) {
        if (pixel != PixelSurface::kBlack) {
            return false;
        }
    }
    return true;
}

std::uint32_t StateAfterDraws(std::uint32_t start, std::uint64_t draws) {
    ProgramRandom random;
    random.SetState(start);
    random.Discard(draws);
    return random.State();
}

TEST(AddSphere, PutsAYellowSphereOfRadius20AtTheCentre) {
    struct Case {
        int width;
        int height;
        int centre_x;
        int centre_y;
    };
    for (const Case& c : {Case{400, 560, 200, 280}, Case{401, 561, 200, 280}, Case{1, 1, 0, 0}}) {
        SphereLayer layer;
        layer.surface = PixelSurface(c.width, c.height);
        AddSphere(layer);
        ASSERT_EQ(layer.table.count, 1);
        const Sphere expected{c.centre_x, c.centre_y, 20, 1.0, 1.0, 0.0};
        EXPECT_EQ(layer.table.spheres[0], expected) << "surface " << c.width << " x " << c.height;
    }
}

TEST(AddSphere, AppendsAfterTheLastSlotAndStopsWhenTheTableIsFull) {
    SphereLayer layer = LayerWith({Sphere{1, 2, 3, 0.1, 0.2, 0.3}});
    AddSphere(layer);
    EXPECT_EQ(layer.table.count, 2);
    EXPECT_EQ(layer.table.spheres[0], (Sphere{1, 2, 3, 0.1, 0.2, 0.3})) << "slot 0 overwritten";
    for (int i = 0; i < 100; ++i) {
        AddSphere(layer);
    }
    EXPECT_EQ(layer.table.count, kSphereSlotCount);
}

TEST(SetUpSphereLayer, MakesTheSurfaceAndDrawsOneCentredYellowSphere) {
    SphereLayer layer = LayerWith({Sphere{}, Sphere{}, Sphere{}});
    ProgramRandom random;
    SetUpSphereLayer(layer, kSphereLayerWidth, kSphereLayerHeight, random);
    EXPECT_EQ(layer.surface.width, 400);
    EXPECT_EQ(layer.surface.height, 560);
    EXPECT_EQ(layer.table.count, 1) << "the table starts again from one sphere";
    const std::uint32_t centre = layer.surface.At(200, 280);
    EXPECT_GE(RedOf(centre), 200);
    EXPECT_EQ(GreenOf(centre), RedOf(centre));
    EXPECT_EQ(BlueOf(centre), 0);
    EXPECT_EQ(layer.surface.At(200, 280 - 20), PixelSurface::kBlack) << "the rim is outside";
    EXPECT_NE(layer.surface.At(200, 280 - 19), PixelSurface::kBlack);
    EXPECT_EQ(random.State(), StateAfterDraws(1, SphereNoiseDraws(20)));
}

TEST(RenderLayer, EmptyTableAndRadiusZeroLeaveTheSurfaceBlackAndDrawNothing) {
    for (int radius : {0, -1, -20}) {
        SphereLayer layer = LayerWith({Sphere{200, 280, radius, 1.0, 1.0, 1.0}});
        layer.surface.Fill(PackRgb(9, 9, 9));  // a render replaces whatever was there
        ProgramRandom random;
        RenderLayer(layer, random);
        EXPECT_TRUE(AllBlack(layer.surface)) << "radius " << radius;
        EXPECT_EQ(random.State(), 1U) << "radius " << radius;
    }
    SphereLayer empty = LayerWith({});
    ProgramRandom random;
    RenderLayer(empty, random);
    EXPECT_TRUE(AllBlack(empty.surface));
    EXPECT_EQ(random.State(), 1U);
}

TEST(RenderLayer, CentrePixelLiesBetween200And255BeforeTheColour) {
    std::mt19937 seeds(5);
    for (int radius : {1, 2, 8, 16, 20, 40}) {
        int lowest = 255;
        int highest = 0;
        for (int render = 0; render < 200; ++render) {
            SphereLayer layer = LayerWith({Sphere{50, 60, radius, 1.0, 0.5, 0.0}});
            layer.surface = PixelSurface(120, 120);  // small: many renders
            ProgramRandom random;
            random.SetState(static_cast<std::uint32_t>(seeds()));
            RenderLayer(layer, random);
            const std::uint32_t centre = layer.surface.At(50, 60);
            const int value = RedOf(centre);
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
            ASSERT_EQ(GreenOf(centre), value / 2) << "green is trunc(v x 0.5), radius " << radius;
            ASSERT_EQ(BlueOf(centre), 0);
        }
        EXPECT_GE(lowest, 200) << "radius " << radius;
        EXPECT_LE(highest, 255) << "radius " << radius;
        EXPECT_LT(lowest + 20, highest) << "the centre should shimmer, radius " << radius;
    }
}

TEST(RenderLayer, RadiusOneIsASinglePixel) {
    SphereLayer layer = LayerWith({Sphere{10, 10, 1, 1.0, 1.0, 1.0}});
    ProgramRandom random;
    RenderLayer(layer, random);
    int lit = 0;
    for (std::uint32_t pixel : layer.surface.pixels) {
        lit += pixel != PixelSurface::kBlack ? 1 : 0;
    }
    EXPECT_EQ(lit, 1);
    EXPECT_NE(layer.surface.At(10, 10), PixelSurface::kBlack);
}

TEST(RenderLayer, ClipsAtTheEdgesWithoutShiftingAndStillDraws) {
    // The same sphere drawn well inside and across each corner: every pixel that lands on the
    // surface matches the unclipped one, and the generator moves on by the full disc.
    const std::uint32_t start = 0xC0FFEEU;
    SphereLayer inside = LayerWith({Sphere{200, 280, 16, 0.8, 0.8, 0.0}});
    ProgramRandom inside_random;
    inside_random.SetState(start);
    RenderLayer(inside, inside_random);

    struct Corner {
        int x;
        int y;
    };
    for (const Corner& corner : {Corner{0, 0}, Corner{399, 0}, Corner{3, 559}, Corner{399, 550},
                                 Corner{-15, 280}, Corner{200, 575}}) {
        SphereLayer clipped = LayerWith({Sphere{corner.x, corner.y, 16, 0.8, 0.8, 0.0}});
        ProgramRandom random;
        random.SetState(start);
        RenderLayer(clipped, random);
        EXPECT_EQ(random.State(), inside_random.State())
            << "clipped pixels still draw, corner " << corner.x << ", " << corner.y;
        for (int dy = -16; dy <= 16; ++dy) {
            for (int dx = -16; dx <= 16; ++dx) {
                if (!clipped.surface.Contains(corner.x + dx, corner.y + dy)) {
                    continue;
                }
                ASSERT_EQ(clipped.surface.At(corner.x + dx, corner.y + dy),
                          inside.surface.At(200 + dx, 280 + dy))
                    << "corner " << corner.x << ", " << corner.y << " offset " << dx << ", " << dy;
            }
        }
    }

    SphereLayer far_away = LayerWith({Sphere{-100000, 900000, 16, 1.0, 1.0, 1.0}});
    ProgramRandom random;
    random.SetState(start);
    RenderLayer(far_away, random);
    EXPECT_TRUE(AllBlack(far_away.surface));
    EXPECT_EQ(random.State(), inside_random.State());
}

TEST(RenderLayer, AHigherSlotCoversALowerOneBlackIncluded) {
    const Sphere yellow{200, 280, 16, 1.0, 1.0, 0.0};
    const Sphere black{210, 280, 16, 0.0, 0.0, 0.0};
    SphereLayer black_on_top = LayerWith({yellow, black});
    ProgramRandom random;
    RenderLayer(black_on_top, random);
    EXPECT_EQ(black_on_top.surface.At(210, 280), PixelSurface::kBlack);
    EXPECT_EQ(black_on_top.surface.At(196, 280), PixelSurface::kBlack) << "inside both discs";
    EXPECT_NE(black_on_top.surface.At(193, 280), PixelSurface::kBlack) << "yellow alone";

    SphereLayer yellow_on_top = LayerWith({black, yellow});
    RenderLayer(yellow_on_top, random);
    EXPECT_NE(yellow_on_top.surface.At(210, 280), PixelSurface::kBlack);
    EXPECT_EQ(yellow_on_top.surface.At(220, 280), PixelSurface::kBlack) << "black alone";
}

TEST(RenderLayer, DrawsNewNoiseEveryTime) {
    SphereLayer layer = LayerWith({Sphere{200, 280, 16, 1.0, 1.0, 1.0}});
    ProgramRandom random;
    RenderLayer(layer, random);
    const std::vector<std::uint32_t> first = layer.surface.pixels;
    RenderLayer(layer, random);
    EXPECT_NE(layer.surface.pixels, first) << "the spheres should shimmer";
}

TEST(RenderLayer, MatchesThePixelByPixelStepsOnRandomTables) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> radius_of(-2, 24);
    std::uniform_int_distribution<int> big_radius_of(kCachedDiscRadius - 1, kCachedDiscRadius + 8);
    std::uniform_int_distribution<int> x_of(-40, 440);
    std::uniform_int_distribution<int> y_of(-40, 600);
    std::uniform_real_distribution<double> component_of(0.0, 1.0);
    for (int table = 0; table < 60; ++table) {
        SphereLayer layer = LayerWith({});
        layer.table.count = std::uniform_int_distribution<int>(0, kSphereSlotCount)(rng);
        for (int slot = 0; slot < layer.table.count; ++slot) {
            // Now and then a radius beyond the precomputed ones.
            const int radius = slot % 13 == 5 ? big_radius_of(rng) : radius_of(rng);
            layer.table.spheres[static_cast<std::size_t>(slot)] = Sphere{
                x_of(rng),         y_of(rng),         radius,
                component_of(rng), component_of(rng), slot % 7 == 0 ? 0.0 : component_of(rng)};
        }
        SphereLayer reference = layer;
        ProgramRandom random;
        const auto start = static_cast<std::uint32_t>(rng());
        random.SetState(start);
        ProgramRandom reference_random = random;

        RenderLayer(layer, random);
        testing::RenderLayerBySteps(reference, reference_random);
        ASSERT_EQ(layer.surface.pixels, reference.surface.pixels) << "table " << table;
        ASSERT_EQ(random.State(), reference_random.State()) << "table " << table;
        ASSERT_EQ(reference_random.State(), StateAfterDraws(start, LayerNoiseDraws(layer.table)))
            << "the draw count of table " << table;
    }
}

TEST(StartUpSpheres, LeaveTwentyEightBlackCentredSpheresAndABlackSurface) {
    SphereLayer layer;
    ProgramRandom random;
    SetUpSphereLayer(layer, kSphereLayerWidth, kSphereLayerHeight, random);
    BuildStartUpSpheres(layer, 14, random);
    ASSERT_EQ(layer.table.count, 28);
    for (int slot = 0; slot < 28; ++slot) {
        EXPECT_EQ(layer.table.spheres[static_cast<std::size_t>(slot)],
                  (Sphere{200, 280, 20, 0.0, 0.0, 0.0}))
            << "slot " << slot;
    }
    EXPECT_TRUE(AllBlack(layer.surface));
    // One render of the first sphere, then 28 renders of 28 spheres.
    EXPECT_EQ(random.State(), StateAfterDraws(1, SphereNoiseDraws(20) * (1 + 28 * 28)));
}

TEST(StartUpSpheres, FastAndLiteralAgreeForEveryPairCount) {
    for (int pair_count : {14, 0, 1, 2, 20, 21, 30}) {
        SphereLayer fast;
        ProgramRandom fast_random;
        fast_random.SetState(77U);
        SetUpSphereLayer(fast, kSphereLayerWidth, kSphereLayerHeight, fast_random);
        SphereLayer literal = fast;
        ProgramRandom literal_random = fast_random;

        BuildStartUpSpheres(fast, pair_count, fast_random);
        BuildStartUpSpheresLiteral(literal, pair_count, literal_random);
        EXPECT_EQ(fast.table, literal.table) << "pair count " << pair_count;
        EXPECT_EQ(fast.surface.pixels, literal.surface.pixels) << "pair count " << pair_count;
        EXPECT_EQ(fast_random.State(), literal_random.State()) << "pair count " << pair_count;
    }
}

}  // namespace
}  // namespace tavrola
