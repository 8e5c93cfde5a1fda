#include <benchmark/benchmark.h>

#include "core/helix/helix_geometry.h"
#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/sequence/base_sequence.h"

namespace {

// The layer and state of a tick in the middle of a performance.
struct PlayingHelix {
    tavrola::SphereLayer layer;
    tavrola::PerformanceState state;
    tavrola::ProgramRandom random;

    PlayingHelix() {
        tavrola::SetUpSphereLayer(layer, tavrola::kSphereLayerWidth, tavrola::kSphereLayerHeight,
                                  random);
        tavrola::BuildStartUpSpheres(layer, tavrola::kDefaultPairCount, random);
        state.sequence = tavrola::ParseSequenceText("ACGTACGTACGTACGATTACAGGCTTAGCATCGA");
        state.helix_phase = 1.0;
        tavrola::RecomputeHelix(state, layer, random);
    }

    // The phases one pair goes through, so every run places the spheres anew.
    void NextTick() {
        state.helix_phase = state.helix_phase - 0.1;
        if (state.helix_phase < 1.0) {
            state.helix_phase = state.helix_phase + tavrola::kPairStep;
        }
    }
};

void BM_RenderLayer(benchmark::State& bench) {
    PlayingHelix helix;
    for (auto _ : bench) {
        tavrola::RenderLayer(helix.layer, helix.random);
        benchmark::DoNotOptimize(helix.layer.surface.pixels.data());
    }
}
BENCHMARK(BM_RenderLayer)->Unit(benchmark::kMicrosecond);

void BM_RecomputeHelixLiteral(benchmark::State& bench) {
    PlayingHelix helix;
    for (auto _ : bench) {
        helix.NextTick();
        tavrola::RecomputeHelixLiteral(helix.state, helix.layer, helix.random);
        benchmark::DoNotOptimize(helix.layer.surface.pixels.data());
    }
}
BENCHMARK(BM_RecomputeHelixLiteral)->Unit(benchmark::kMicrosecond);

void BM_RecomputeHelix(benchmark::State& bench) {
    PlayingHelix helix;
    for (auto _ : bench) {
        helix.NextTick();
        tavrola::RecomputeHelix(helix.state, helix.layer, helix.random);
        benchmark::DoNotOptimize(helix.layer.surface.pixels.data());
    }
}
BENCHMARK(BM_RecomputeHelix)->Unit(benchmark::kMicrosecond);

void BM_StartUpSpheresLiteral(benchmark::State& bench) {
    tavrola::ProgramRandom random;
    for (auto _ : bench) {
        tavrola::SphereLayer layer;
        tavrola::SetUpSphereLayer(layer, tavrola::kSphereLayerWidth, tavrola::kSphereLayerHeight,
                                  random);
        tavrola::BuildStartUpSpheresLiteral(layer, tavrola::kDefaultPairCount, random);
        benchmark::DoNotOptimize(layer.surface.pixels.data());
    }
}
BENCHMARK(BM_StartUpSpheresLiteral)->Unit(benchmark::kMicrosecond);

void BM_StartUpSpheres(benchmark::State& bench) {
    tavrola::ProgramRandom random;
    for (auto _ : bench) {
        tavrola::SphereLayer layer;
        tavrola::SetUpSphereLayer(layer, tavrola::kSphereLayerWidth, tavrola::kSphereLayerHeight,
                                  random);
        tavrola::BuildStartUpSpheres(layer, tavrola::kDefaultPairCount, random);
        benchmark::DoNotOptimize(layer.surface.pixels.data());
    }
}
BENCHMARK(BM_StartUpSpheres)->Unit(benchmark::kMicrosecond);

}  // namespace
