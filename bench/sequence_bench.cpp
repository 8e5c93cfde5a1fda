#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "core/music/performance_state.h"
#include "core/music/pitch_selection.h"
#include "core/sequence/base_sequence.h"

namespace {

// A sequence file as people keep them: numbered lines of ten-base groups.
std::string SequenceFileText(std::size_t bytes) {
    const std::string line = "       61 acgtnacgta gattacaggc tTAGCatcga ccgtaatgca\n";
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) {
        text += line;
    }
    text.resize(bytes);
    return text;
}

void BM_ParseSequenceText(benchmark::State& state) {
    const std::string text = SequenceFileText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tavrola::BaseSequence bases = tavrola::ParseSequenceText(text);
        benchmark::DoNotOptimize(bases.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ParseSequenceText)->Arg(8192)->Arg(10 * 1000 * 1000)->Unit(benchmark::kMicrosecond);

void BM_ChoosePitchSlot(benchmark::State& state) {
    tavrola::PerformanceState performance;
    performance.diatonic_only = static_cast<std::int32_t>(state.range(0));
    std::int32_t previous = tavrola::kInstalledRightSlot;
    tavrola::BaseCode base = 0;
    for (auto _ : state) {
        previous = tavrola::ChoosePitchSlot(performance, base, previous).value_or(previous);
        base = (base + 1) & 3;
        benchmark::DoNotOptimize(previous);
    }
}
BENCHMARK(BM_ChoosePitchSlot)->Arg(0)->Arg(1);

}  // namespace
