#pragma once

#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/sequence/base_sequence.h"

namespace tavrola {

// Phase distance between neighbouring base pairs: 10.4 pairs per turn of 2 pi. The playback
// clock raises the helix phase by the same step for every pair it plays.
inline constexpr double kPairStep = 0.6041524333653846;
// A full turn of phase spans 420 pixels down the layer.
inline constexpr double kPixelsPerRadian = 66.8450761005066;
inline constexpr double kHelixAxisX = 200.0;
inline constexpr double kHelixSwing = 100.0;
// Where the size waves of the two strands peak: a quarter and three quarters of a turn.
inline constexpr double kNearSizeOffset = 1.57079632675;
inline constexpr double kFarSizeOffset = 4.71238898025;
// A pair is lit while the phase just past it is below this: the pair about to be played.
inline constexpr double kLitThreshold = 1.8;
inline constexpr double kLitIncrement = 0.5;
inline constexpr double kSilentDivisor = 3.0;

struct SphereColour {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    bool operator==(const SphereColour&) const = default;
};

// Where the two spheres of a pair stand at a phase. Sphere 1 is the strand as read (the right
// voice), sphere 2 its complement (the left voice).
struct PairGeometry {
    int y = 0;
    int x1 = 0;
    int r1 = 0;
    int x2 = 0;
    int r2 = 0;
};

PairGeometry ComputePairGeometry(double phase);

// The colour of a base as it scrolls by, and while it is lit (each component + 0.5, at most 1).
SphereColour BaseColour(BaseCode base);
SphereColour LitColour(BaseCode base);

// Places, sizes and colours the 2 x pair-count spheres of the helix from the performance state
// and leaves the layer as the last of its 2 x pair-count renders drew it. Does nothing at all
// without a sequence. Only that last render is drawn: the generator is moved on by exactly what
// the earlier ones would have drawn, so pixels and generator end as after rendering every time.
void RecomputeHelix(const PerformanceState& state, SphereLayer& layer, ProgramRandom& random);
// The same, rendering after every sphere it moves; the reference for the one above.
void RecomputeHelixLiteral(const PerformanceState& state, SphereLayer& layer,
                           ProgramRandom& random);
// The same steps on the table alone, drawing nothing: the generator is moved on by exactly what
// the renders would draw. For a performance worked out ahead, which needs the series, not the
// picture.
void RecomputeHelixUnseen(const PerformanceState& state, SphereTable& table, ProgramRandom& random);

}  // namespace tavrola
