#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "audio/export/midi_file_writer.h"
#include "core/helix/helix_geometry.h"
#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/playback/performance_simulation.h"
#include "core/sequence/base_sequence.h"

namespace {

// The longest load, as the window holds it after loading: 8,192 pairs in quarter notes, the
// slowest timing, so the most ticks to work out.
struct LongestLoad {
    LongestLoad() {
        tavrola::SetPerformanceDefaults(state, "/");
        state.timing_mode = 0;
        tavrola::SetUpSphereLayer(layer, tavrola::kSphereLayerWidth, tavrola::kSphereLayerHeight,
                                  random);
        tavrola::BuildStartUpSpheres(layer, state.pair_count, random);
        const std::string pattern = "gattacacgtttagcatgcaaccgt";
        std::string text;
        while (text.size() < 8192) {
            text += pattern;
        }
        text.resize(8192);
        tavrola::InstallSequence(state, tavrola::ParseSequenceText(text));
        tavrola::RecomputeHelix(state, layer, random);
    }
    tavrola::PerformanceState state;
    tavrola::SphereLayer layer;
    tavrola::ProgramRandom random;
};

std::filesystem::path TemporaryFolder() {
    std::string name = (std::filesystem::temp_directory_path() / "tavrola-bench-XXXXXX").string();
    return ::mkdtemp(name.data()) != nullptr ? std::filesystem::path(name)
                                             : std::filesystem::temp_directory_path();
}

// What the MIDI export command costs: working out the performance, then writing the file.
void BM_MidiExport8192Pairs(benchmark::State& state) {
    const LongestLoad load;
    const std::filesystem::path folder = TemporaryFolder();
    const std::filesystem::path target = folder / "export.mid";
    tavrola::SimulatedPerformance performance;
    for (auto _ : state) {
        performance = tavrola::SimulatePerformance(load.state, load.layer.table, load.random);
        if (tavrola::WriteMidiFile(performance, target) != tavrola::ExportResult::kWritten) {
            state.SkipWithError("the file was not written");
        }
    }
    state.counters["ticks"] = static_cast<double>(performance.stop_tick + 1);
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(target));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_MidiExport8192Pairs)->Unit(benchmark::kMillisecond);

// The simulation's share of it.
void BM_SimulatePerformance8192Pairs(benchmark::State& state) {
    const LongestLoad load;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tavrola::SimulatePerformance(load.state, load.layer.table, load.random));
    }
}
BENCHMARK(BM_SimulatePerformance8192Pairs)->Unit(benchmark::kMillisecond);

}  // namespace
