#include "core/helix/helix_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/sequence/base_sequence.h"
#include "support/helix/render_by_steps.h"

namespace tavrola {
namespace {

using testing::BlueOf;
using testing::GreenOf;
using testing::RedOf;

constexpr int kPairs = 14;

// The layer as the window leaves it at start-up.
SphereLayer StartUpLayer(ProgramRandom& random) {
    SphereLayer layer;
    SetUpSphereLayer(layer, kSphereLayerWidth, kSphereLayerHeight, random);
    BuildStartUpSpheres(layer, kPairs, random);
    return layer;
}

PerformanceState StateWith(std::string_view text, double phase, int play_position = 0) {
    PerformanceState state;
    state.sequence = ParseSequenceText(text);
    state.helix_phase = phase;
    state.play_position = play_position;
    return state;
}

const Sphere& Slot(const SphereLayer& layer, int slot) {
    return layer.table.spheres[static_cast<std::size_t>(slot)];
}

SphereColour ColourOf(const Sphere& sphere) {
    return {sphere.red, sphere.green, sphere.blue};
}

TEST(RecomputeHelix, PlacesTheFirstThreePairsAsDesignedAtPhaseOne) {
    struct Expected {
        int pair;
        int y;
        int x1;
        int r1;
        int x2;
        int r2;
        int sphere1_slot;
    };
    const Expected expected[] = {
        {0, 66, 284, 14, 115, 9, 14},
        {1, 107, 299, 11, 100, 12, 1},
        {2, 147, 280, 9, 119, 14, 2},
    };
    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    RecomputeHelix(StateWith("ACGTACGTACGTAC", 1.0), layer, random);
    for (const Expected& e : expected) {
        const int sphere2_slot = e.sphere1_slot == e.pair ? e.pair + kPairs : e.pair;
        const Sphere& sphere1 = Slot(layer, e.sphere1_slot);
        const Sphere& sphere2 = Slot(layer, sphere2_slot);
        EXPECT_EQ(sphere1.centre_x, e.x1) << "pair " << e.pair;
        EXPECT_EQ(sphere1.centre_y, e.y) << "pair " << e.pair;
        EXPECT_EQ(sphere1.radius, e.r1) << "pair " << e.pair;
        EXPECT_EQ(sphere2.centre_x, e.x2) << "pair " << e.pair;
        EXPECT_EQ(sphere2.centre_y, e.y) << "pair " << e.pair;
        EXPECT_EQ(sphere2.radius, e.r2) << "pair " << e.pair;
    }
}

TEST(RecomputeHelix, PlacesEveryPairAtTheRunningPhaseWithTheLargerSphereInTheUpperHalf) {
    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    const double start = 0.93;
    RecomputeHelix(StateWith("GATTACA", start), layer, random);
    double phase = start;
    for (int pair = 0; pair < kPairs; ++pair) {
        const PairGeometry geometry = ComputePairGeometry(phase);
        const Sphere& lower = Slot(layer, pair);
        const Sphere& upper = Slot(layer, pair + kPairs);
        EXPECT_GE(upper.radius, lower.radius) << "pair " << pair;
        const bool sphere1_upper = upper.centre_x == geometry.x1 && upper.radius == geometry.r1;
        const Sphere& sphere1 = sphere1_upper ? upper : lower;
        const Sphere& sphere2 = sphere1_upper ? lower : upper;
        EXPECT_EQ(sphere1, (Sphere{geometry.x1, geometry.y, geometry.r1, sphere1.red, sphere1.green,
                                   sphere1.blue}))
            << "pair " << pair;
        EXPECT_EQ(sphere2, (Sphere{geometry.x2, geometry.y, geometry.r2, sphere2.red, sphere2.green,
                                   sphere2.blue}))
            << "pair " << pair;
        EXPECT_GE(geometry.r1, 8);
        EXPECT_LE(geometry.r1, 16);
        phase = phase + kPairStep;
    }
}

TEST(RecomputeHelix, AdvancesThePhaseByRepeatedAddition) {
    // From this phase, thirteen additions of the pair step round to just below 580 / 66.845...,
    // while phase + 13 x step lands on it: pair 13 must sit at y 579, not 580.
    const double start = 0.8227980759166673;
    ASSERT_EQ(ComputePairGeometry(start + 13 * kPairStep).y, 580);
    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    RecomputeHelix(StateWith("ACGT", start), layer, random);
    EXPECT_EQ(Slot(layer, 13).centre_y, 579);
    EXPECT_EQ(Slot(layer, 13 + kPairs).centre_y, 579);
}

TEST(RecomputeHelix, OnEqualRadiiSphereOneIsInFront) {
    // Just past a quarter turn both size waves sit a hair below their middle.
    const double phase = 1.5707963268847;
    const PairGeometry geometry = ComputePairGeometry(phase);
    ASSERT_EQ(geometry.r1, geometry.r2);
    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    RecomputeHelix(StateWith("C", phase), layer, random);
    EXPECT_EQ(Slot(layer, kPairs).centre_x, geometry.x1);
    EXPECT_EQ(Slot(layer, 0).centre_x, geometry.x2);
}

TEST(RecomputeHelix, ColoursThePlayedPairLitAndTheOthersPlain) {
    struct Case {
        const char* name;
        int right_instrument;
        int left_instrument;
        SphereColour sphere1;
        SphereColour sphere2;
    };
    const SphereColour lit_at{1.0, 1.0, 0.5};  // A and T alike when lit
    const SphereColour dimmed_at{1.0 / 3.0, 1.0 / 3.0, 0.5 / 3.0};
    const Case cases[] = {
        {"both voices", 98, 91, lit_at, lit_at},
        {"right silent", kSilentInstrument, 91, dimmed_at, lit_at},
        {"left silent", 98, kSilentInstrument, lit_at, dimmed_at},
        {"both silent", kSilentInstrument, kSilentInstrument, dimmed_at, dimmed_at},
    };
    for (const Case& c : cases) {
        PerformanceState state = StateWith("AGCT", 1.0);
        state.right_instrument = c.right_instrument;
        state.left_instrument = c.left_instrument;
        ProgramRandom random;
        SphereLayer layer = StartUpLayer(random);
        RecomputeHelix(state, layer, random);
        // Pair 0 at phase 1.0: sphere 1 (A) in slot 14, sphere 2 (T) in slot 0.
        EXPECT_EQ(ColourOf(Slot(layer, 14)), c.sphere1) << c.name;
        EXPECT_EQ(ColourOf(Slot(layer, 0)), c.sphere2) << c.name;
        // Pair 1 (G, complement C) is not lit: plain colours whatever the voices, sphere 1 in
        // slot 1.
        EXPECT_EQ(ColourOf(Slot(layer, 1)), (SphereColour{0.3, 0.3, 1.0})) << c.name;
        EXPECT_EQ(ColourOf(Slot(layer, 15)), (SphereColour{1.0, 0.0, 0.6})) << c.name;
    }
}

TEST(RecomputeHelix, LightsThePairOnlyWhileThePhasePastItIsBelowTheThreshold) {
    struct Case {
        double phase;
        bool lit;
    };
    for (const Case& c :
         {Case{1.0, true}, Case{1.19, true}, Case{1.2, false}, Case{1.5, false}, Case{0.1, true}}) {
        ProgramRandom random;
        SphereLayer layer = StartUpLayer(random);
        RecomputeHelix(StateWith("C", c.phase), layer, random);
        const PairGeometry geometry = ComputePairGeometry(c.phase);
        const int sphere1_slot = geometry.r1 >= geometry.r2 ? kPairs : 0;
        EXPECT_EQ(ColourOf(Slot(layer, sphere1_slot)), c.lit ? LitColour(0) : BaseColour(0))
            << "phase " << c.phase;
    }
}

TEST(RecomputeHelix, PairsPastTheEndAreBlackButStillMove) {
    for (int play_position : {0, 2, 3, 4}) {
        ProgramRandom random;
        SphereLayer layer = StartUpLayer(random);
        // Colour everything first so that black is something the run writes.
        for (Sphere& sphere : layer.table.spheres) {
            sphere.red = sphere.green = sphere.blue = 0.7;
        }
        const double start = 1.3;
        RecomputeHelix(StateWith("ACGT", start, play_position), layer, random);
        double phase = start;
        for (int pair = 0; pair < kPairs; ++pair) {
            const bool past_end = play_position + pair >= 4;
            const PairGeometry geometry = ComputePairGeometry(phase);
            for (int slot : {pair, pair + kPairs}) {
                const Sphere& sphere = Slot(layer, slot);
                EXPECT_EQ(sphere.centre_y, geometry.y) << "pair " << pair;
                EXPECT_EQ(ColourOf(sphere) == SphereColour{}, past_end)
                    << "pair " << pair << " from position " << play_position;
            }
            phase = phase + kPairStep;
        }
    }
}

TEST(RecomputeHelix, WithoutASequenceChangesNothing) {
    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    layer.surface.Fill(PackRgb(1, 2, 3));
    const SphereLayer before = layer;
    const std::uint32_t state_before = random.State();
    PerformanceState state;
    state.sequence.reset();
    RecomputeHelix(state, layer, random);
    RecomputeHelixLiteral(state, layer, random);
    EXPECT_EQ(layer.table, before.table);
    EXPECT_EQ(layer.surface.pixels, before.surface.pixels);
    EXPECT_EQ(random.State(), state_before);
}

TEST(RecomputeHelix, EmptySequenceBlacksEveryPair) {
    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    RecomputeHelix(StateWith("", 1.0), layer, random);
    for (int slot = 0; slot < 2 * kPairs; ++slot) {
        EXPECT_EQ(ColourOf(Slot(layer, slot)), SphereColour{}) << "slot " << slot;
    }
}

TEST(RecomputeHelix, EachRenderShowsTheColoursOfBeforeThePairsOwn) {
    // Far enough up the screen that all 14 pairs are visible.
    const double start = -2.0;
    const PerformanceState state = StateWith("CCCCCCCCCCCCCCCCCC", start);
    double phase = start;
    double before_last_phase = start;
    for (int pair = 0; pair < kPairs - 1; ++pair) {
        before_last_phase = phase;
        phase = phase + kPairStep;
    }
    const PairGeometry last = ComputePairGeometry(phase);
    const PairGeometry before_last = ComputePairGeometry(before_last_phase);
    ASSERT_GT(last.y, 0);
    ASSERT_LT(last.y, kSphereLayerHeight);

    ProgramRandom random;
    SphereLayer layer = StartUpLayer(random);
    RecomputeHelix(state, layer, random);
    // The last render came before the last pair's colours were written.
    EXPECT_EQ(layer.surface.At(last.x1, last.y), PixelSurface::kBlack);
    EXPECT_GT(RedOf(layer.surface.At(before_last.x1, before_last.y)), 100);

    RecomputeHelix(state, layer, random);
    const std::uint32_t centre = layer.surface.At(last.x1, last.y);
    EXPECT_GE(RedOf(centre), 200) << "cytosine: full red";
    EXPECT_EQ(GreenOf(centre), 0);
    EXPECT_EQ(BlueOf(centre), static_cast<int>(RedOf(centre) * 0.6));
}

}  // namespace
}  // namespace tavrola
