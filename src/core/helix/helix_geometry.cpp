#include "core/helix/helix_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace tavrola {
namespace {

// Truncation towards zero. Only a phase far outside anything the clock produces could leave the
// int range; it is pinned to the edge instead of being an undefined conversion.
int TruncateTowardZero(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

int SphereRadius(double wave_phase) {
    return TruncateTowardZero((std::sin(wave_phase) + 1.0) * 4.0 + 8.0);
}

void SetColour(Sphere& sphere, const SphereColour& colour) {
    sphere.red = colour.red;
    sphere.green = colour.green;
    sphere.blue = colour.blue;
}

void PlaceSphere(Sphere& sphere, int x, int y, int radius) {
    sphere.centre_x = x;
    sphere.centre_y = y;
    sphere.radius = radius;
}

SphereColour Dimmed(const SphereColour& colour) {
    return {colour.red / kSilentDivisor, colour.green / kSilentDivisor,
            colour.blue / kSilentDivisor};
}

// How many pairs fit in the table: the larger sphere of pair i goes to slot i + n.
int DrawnPairCount(int pair_count) {
    if (pair_count <= 0) {
        return 0;
    }
    return std::min(pair_count, std::max(kSphereSlotCount - pair_count, 0));
}

// The steps of one run, with each render left to `render(is_last_render)`.
template <typename Render>
void RunHelixSteps(const PerformanceState& state, SphereTable& table, Render&& render) {
    if (!state.sequence.has_value()) {
        return;
    }
    const BaseSequence& sequence = *state.sequence;
    const std::int64_t sequence_length = SequenceLength(state);
    const int pair_count = state.pair_count;
    const int drawn_pairs = DrawnPairCount(pair_count);
    auto slot = [&table](int index) -> Sphere& {
        return table.spheres[static_cast<std::size_t>(index)];
    };

    // Repeated addition, never phase + i x step: the rounding of each sum is part of the picture.
    double phase = state.helix_phase;
    for (int pair = 0; pair < drawn_pairs; ++pair) {
        const PairGeometry geometry = ComputePairGeometry(phase);
        // The larger sphere is drawn after every smaller one; on a tie sphere 1 is in front.
        const int slot1 = geometry.r1 >= geometry.r2 ? pair + pair_count : pair;
        const int slot2 = geometry.r1 >= geometry.r2 ? pair : pair + pair_count;
        const bool last_pair = pair == drawn_pairs - 1;

        PlaceSphere(slot(slot1), geometry.x1, geometry.y, geometry.r1);
        render(false);
        PlaceSphere(slot(slot2), geometry.x2, geometry.y, geometry.r2);
        render(last_pair);

        phase = phase + kPairStep;

        // The colours land after the pair's renders: each render shows the colours the slots
        // held before, from earlier pairs or from the previous run.
        const std::int64_t position = static_cast<std::int64_t>(state.play_position) + pair;
        if (position < 0 || position >= sequence_length) {
            SetColour(slot(slot1), SphereColour{});
            SetColour(slot(slot2), SphereColour{});
            continue;
        }
        const BaseCode base = sequence[static_cast<std::size_t>(position)];
        const BaseCode complement = ComplementBase(base);
        SphereColour colour1;
        SphereColour colour2;
        if (phase < kLitThreshold) {
            colour1 = LitColour(base);
            colour2 = LitColour(complement);
            if (state.right_instrument == kSilentInstrument) {
                colour1 = Dimmed(colour1);
            }
            if (state.left_instrument == kSilentInstrument) {
                colour2 = Dimmed(colour2);
            }
        } else {
            colour1 = BaseColour(base);
            colour2 = BaseColour(complement);
        }
        SetColour(slot(slot1), colour1);
        SetColour(slot(slot2), colour2);
    }
}

}  // namespace

PairGeometry ComputePairGeometry(double phase) {
    const double sine = std::sin(phase);
    PairGeometry geometry;
    geometry.y = TruncateTowardZero(phase * kPixelsPerRadian);
    geometry.x1 = TruncateTowardZero(kHelixSwing * sine + kHelixAxisX);
    geometry.x2 = TruncateTowardZero(kHelixAxisX - kHelixSwing * sine);
    geometry.r1 = SphereRadius(phase + kNearSizeOffset);
    geometry.r2 = SphereRadius(phase + kFarSizeOffset);
    return geometry;
}

SphereColour BaseColour(BaseCode base) {
    // Indexed by base code: C, A, G, T.
    static constexpr std::array<SphereColour, 4> kBaseColours = {{
        {1.0, 0.0, 0.6},
        {1.0, 0.6, 0.0},
        {0.3, 0.3, 1.0},
        {0.8, 0.8, 0.0},
    }};
    return kBaseColours[static_cast<std::size_t>(base) & 3U];
}

SphereColour LitColour(BaseCode base) {
    const SphereColour colour = BaseColour(base);
    auto lit = [](double component) {
        const double raised = component + kLitIncrement;
        return raised > 1.0 ? 1.0 : raised;
    };
    return {lit(colour.red), lit(colour.green), lit(colour.blue)};
}

void RecomputeHelix(const PerformanceState& state, SphereLayer& layer, ProgramRandom& random) {
    // Every render but the last is overwritten before the window shows it, but its noise draws
    // are owed to the generator, which the timing mode shares.
    std::uint64_t skipped_draws = 0;
    RunHelixSteps(state, layer.table, [&](bool is_last_render) {
        if (!is_last_render) {
            skipped_draws += LayerNoiseDraws(layer.table);
            return;
        }
        random.Discard(skipped_draws);
        skipped_draws = 0;
        RenderLayer(layer, random);
    });
}

void RecomputeHelixLiteral(const PerformanceState& state, SphereLayer& layer,
                           ProgramRandom& random) {
    RunHelixSteps(state, layer.table, [&](bool) { RenderLayer(layer, random); });
}

void RecomputeHelixUnseen(const PerformanceState& state, SphereTable& table,
                          ProgramRandom& random) {
    std::uint64_t draws = 0;
    RunHelixSteps(state, table, [&](bool) { draws += LayerNoiseDraws(table); });
    random.Discard(draws);
}

}  // namespace tavrola
