#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "audio/export/audio_file_writer.h"
#include "audio/export/midi_file_writer.h"
#include "audio/fluidsynth_output.h"
#include "audio/synth_settings.h"
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
        state.timing_mode = tavrola::TimingMode::kQuarter;
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
        if (tavrola::WriteMidiFile(performance, target) != tavrola::ExportResult::kSuccess) {
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

// A minute of music to render: 40 pairs of eighth notes, the piano on both voices.
struct MinuteOfPiano : LongestLoad {
    MinuteOfPiano() {
        state.timing_mode = tavrola::TimingMode::kEighth;
        state.right_instrument = 0;
        state.left_instrument = 0;
        state.sequence->resize(40);
        performance = tavrola::SimulatePerformance(state, layer.table, random);
    }
    double Seconds() const {
        return static_cast<double>(tavrola::AudioExportFrameOfTick(performance.stop_tick)) /
               tavrola::kAudioExportSampleRate;
    }
    tavrola::SimulatedPerformance performance;
};

// The audio export's speed, as a multiple of real time (counter realtime_x), for each format.
void BM_AudioExportMinuteOfPiano(benchmark::State& state) {
    const MinuteOfPiano piano;
    const std::filesystem::path folder = TemporaryFolder();
    const auto type = static_cast<tavrola::AudioFileType>(state.range(0));
    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (tavrola::WriteAudioFile(piano.performance, type, folder / "export") !=
            tavrola::ExportResult::kSuccess) {
            state.SkipWithError("the file was not written (no SoundFont?)");
            break;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["realtime_x"] =
        piano.Seconds() * static_cast<double>(state.iterations()) / seconds;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AudioExportMinuteOfPiano)
    ->ArgName("type")
    ->Arg(static_cast<int>(tavrola::AudioFileType::kWav))
    ->Arg(static_cast<int>(tavrola::AudioFileType::kFlac))
    ->Arg(static_cast<int>(tavrola::AudioFileType::kOggVorbis))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// FluidSynth's own command-line renderer on the same performance written as a MIDI file, with
// the same SoundFont, rate and gain, to a 16-bit WAV: the speed to match.
void BM_FluidSynthCommandLineMinuteOfPiano(benchmark::State& state) {
    const MinuteOfPiano piano;
    const std::optional<std::string> soundfont =
        tavrola::FirstUsableSoundFont(tavrola::SoundFontCandidates());
    if (!soundfont || std::system("command -v fluidsynth >/dev/null 2>&1") != 0) {
        state.SkipWithError("fluidsynth (Debian fluidsynth) or a SoundFont is missing");
        return;
    }
    const std::filesystem::path folder = TemporaryFolder();
    if (tavrola::WriteMidiFile(piano.performance, folder / "minute.mid") !=
        tavrola::ExportResult::kSuccess) {
        state.SkipWithError("the MIDI file was not written");
        return;
    }
    const std::string command =
        "fluidsynth -ni -q -r 44100 -g " + std::to_string(tavrola::kSynthGain) + " -F '" +
        (folder / "minute.wav").string() + "' -T wav -O s16 '" + *soundfont + "' '" +
        (folder / "minute.mid").string() + "' >/dev/null 2>&1";
    double seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("fluidsynth failed");
            break;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["realtime_x"] =
        piano.Seconds() * static_cast<double>(state.iterations()) / seconds;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FluidSynthCommandLineMinuteOfPiano)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
