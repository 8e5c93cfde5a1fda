// Skipping the renders that are overwritten must not change a pixel or a random draw.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "core/helix/helix_geometry.h"
#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/sequence/base_sequence.h"

namespace tavrola {
namespace {

// Two copies of everything, one driven by the fast path and one by the literal path.
struct TwinLayers {
    SphereLayer fast;
    SphereLayer literal;
    ProgramRandom fast_random;
    ProgramRandom literal_random;

    explicit TwinLayers(std::uint32_t random_state) {
        fast_random.SetState(random_state);
        SetUpSphereLayer(fast, kSphereLayerWidth, kSphereLayerHeight, fast_random);
        literal = fast;
        literal_random = fast_random;
        BuildStartUpSpheres(fast, kDefaultPairCount, fast_random);
        BuildStartUpSpheresLiteral(literal, kDefaultPairCount, literal_random);
    }

    void Recompute(const PerformanceState& state) {
        RecomputeHelix(state, fast, fast_random);
        RecomputeHelixLiteral(state, literal, literal_random);
    }

    // Both paths share the generator with the timing mode, which draws between runs.
    void DrawForTiming() {
        fast_random.Next();
        literal_random.Next();
    }

    ::testing::AssertionResult Agree() const {
        if (fast_random.State() != literal_random.State()) {
            return ::testing::AssertionFailure()
                   << "generator states differ: fast " << fast_random.State() << ", literal "
                   << literal_random.State();
        }
        if (!(fast.table == literal.table)) {
            return ::testing::AssertionFailure() << "sphere tables differ";
        }
        if (fast.surface.pixels != literal.surface.pixels) {
            std::size_t first = 0;
            while (fast.surface.pixels[first] == literal.surface.pixels[first]) {
                ++first;
            }
            return ::testing::AssertionFailure()
                   << "surfaces differ first at x " << first % kSphereLayerWidth << ", y "
                   << first / kSphereLayerWidth;
        }
        return ::testing::AssertionSuccess();
    }
};

BaseSequence RandomSequence(std::mt19937& rng, int length) {
    BaseSequence sequence;
    std::uniform_int_distribution<int> base_of(0, 3);
    for (int i = 0; i < length; ++i) {
        sequence.push_back(base_of(rng));
    }
    return sequence;
}

std::int32_t RandomInstrument(std::mt19937& rng) {
    return std::uniform_int_distribution<int>(0, 3)(rng) == 0
               ? kSilentInstrument
               : std::uniform_int_distribution<int>(0, 127)(rng);
}

TEST(HelixFastPath, AgreesWithTheLiteralPathAfterStartUp) {
    for (std::uint32_t state : {1U, 0U, 0xFFFFFFFFU, 123456789U}) {
        TwinLayers twins(state);
        EXPECT_TRUE(twins.Agree()) << "from generator state " << state;
    }
}

TEST(HelixFastPath, AgreesWithTheLiteralPathOnRandomRuns) {
    std::mt19937 rng(20240611);
    TwinLayers twins(1U);
    std::uniform_real_distribution<double> near_one(0.75, 1.75);
    std::uniform_real_distribution<double> anywhere(-8.0, 12.0);
    for (int run = 0; run < 300; ++run) {
        PerformanceState state;
        const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
        if (kind == 0) {
            state.sequence.reset();  // nothing loaded yet
        } else {
            const int length = kind == 1 ? 0 : std::uniform_int_distribution<int>(1, 60)(rng);
            state.sequence = RandomSequence(rng, length);
            // Often near or past the end, where pairs turn black.
            state.play_position = kind <= 4 ? std::uniform_int_distribution<int>(
                                                  std::max(length - 16, 0), length + 2)(rng)
                                            : std::uniform_int_distribution<int>(0, length)(rng);
        }
        state.helix_phase = kind % 3 == 0 ? anywhere(rng) : near_one(rng);
        state.right_instrument = RandomInstrument(rng);
        state.left_instrument = RandomInstrument(rng);
        twins.Recompute(state);
        ASSERT_TRUE(twins.Agree()) << "run " << run << ", phase " << state.helix_phase;
        if (run % 2 == 0) {
            twins.DrawForTiming();
        }
    }
}

TEST(HelixFastPath, AgreesWithTheLiteralPathThroughAWholePerformance) {
    // The ticks of a performance: the phase falls by 0.1 or 0.2 a tick and rises by a pair
    // step whenever it drops below 1, until the sequence has been played through.
    std::mt19937 rng(7);
    TwinLayers twins(1U);
    PerformanceState state;
    state.sequence = RandomSequence(rng, 40);
    state.right_instrument = kSilentInstrument;
    int ticks = 0;
    while (state.play_position <= SequenceLength(state) && ticks < 400) {
        twins.DrawForTiming();
        const bool long_step = (twins.fast_random.State() >> 16 & 1U) != 0;
        state.helix_phase = state.helix_phase - (long_step ? 0.2 : 0.1);
        if (state.helix_phase < 1.0) {
            if (state.play_position == SequenceLength(state)) {
                break;
            }
            ++state.play_position;
            state.helix_phase = state.helix_phase + kPairStep;
        }
        twins.Recompute(state);
        ASSERT_TRUE(twins.Agree()) << "tick " << ticks;
        ++ticks;
    }
    EXPECT_GT(ticks, 100);
}

TEST(HelixFastPath, AgreesWithTheLiteralPathForOtherPairCountsAndTables) {
    std::mt19937 rng(99);
    for (int pair_count : {1, 2, 7, 13, 15, 20, 21, 25, 39, 40, 45, 0, -3}) {
        TwinLayers twins(static_cast<std::uint32_t>(rng()));
        // A table count that does not match the pairs: renders draw from the slots in use only.
        const int count = std::uniform_int_distribution<int>(0, kSphereSlotCount)(rng);
        twins.fast.table.count = count;
        twins.literal.table.count = count;
        PerformanceState state;
        state.sequence = RandomSequence(rng, 30);
        state.pair_count = pair_count;
        for (int run = 0; run < 3; ++run) {
            state.helix_phase = std::uniform_real_distribution<double>(0.5, 2.0)(rng);
            twins.Recompute(state);
            ASSERT_TRUE(twins.Agree()) << "pair count " << pair_count << ", run " << run;
        }
    }
}

}  // namespace
}  // namespace tavrola
