#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "audio/fluidsynth_output.h"
#include "core/music/midi_controler.h"
#include "core/music/performance_state.h"
#include "support/headless_pulse.h"

namespace {

using tavrola::FluidSynthOptions;
using tavrola::FluidSynthOutput;
using tavrola::SynthAudio;

// Resident memory of this process, in megabytes.
double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

// What the start-up pays for the built-in synthesiser: loading the SoundFont and the two
// program changes (which, with dynamic loading, load those programs' samples).
void BM_OpenSynth(benchmark::State& state, const std::string& soundfont, bool dynamic) {
    // Freed memory stays with the process, so only the first load shows in the counter: run
    // one case per process (--benchmark_filter) for honest figures.
    double memory = -1;
    for (auto _ : state) {
        const double before = ResidentMegabytes();
        auto synth = std::make_unique<FluidSynthOutput>(
            FluidSynthOptions{.soundfont_path = soundfont,
                              .audio = SynthAudio::kRenderOnly,
                              .dynamic_sample_loading = dynamic});
        if (!synth->Open()) {
            state.SkipWithError("the SoundFont does not load");
            return;
        }
        tavrola::MidiControler controler(std::move(synth));
        controler.SendProgramChange(tavrola::kDefaultRightInstrument, 0);
        controler.SendProgramChange(tavrola::kDefaultLeftInstrument, 1);
        memory = memory < 0 ? ResidentMegabytes() - before : memory;
        state.PauseTiming();
        controler.Close();
        state.ResumeTiming();
    }
    state.counters["added_MB"] = memory;
}

// The first number after `label` in `text`, or -1.
double NumberAfter(const std::string& text, const std::string& label) {
    const std::regex pattern(label + R"(\s*([0-9]+))");
    std::smatch match;
    return std::regex_search(text, match, pattern) ? std::stod(match[1]) : -1.0;
}

std::string CommandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        ::pclose(pipe);
    }
    return output;
}

// How much sound the chosen settings keep buffered between the synthesiser and the sound
// server, read from a headless PulseAudio: the stream's buffer plus the latency the sink is
// configured for on its behalf.
void BM_SynthBufferedLatency(benchmark::State& state) {
    if (!tavrola::testing::HeadlessPulse::IsInstalled()) {
        state.SkipWithError("pulseaudio is not installed");
        return;
    }
    const auto soundfont = tavrola::FirstUsableSoundFont(tavrola::SoundFontCandidates());
    if (!soundfont) {
        state.SkipWithError("no SoundFont");
        return;
    }
    tavrola::testing::HeadlessPulse server;
    if (!server.running()) {
        state.SkipWithError("the headless PulseAudio did not start");
        return;
    }
    FluidSynthOutput synth(FluidSynthOptions{.soundfont_path = *soundfont});
    if (!synth.Open()) {
        state.SkipWithError("the synthesiser did not open");
        return;
    }
    double buffer_ms = 0;
    double sink_ms = 0;
    for (auto _ : state) {
        const std::string inputs = CommandOutput("pactl list sink-inputs");
        const std::string sinks = CommandOutput("pactl list sinks");
        buffer_ms = NumberAfter(inputs, "Buffer Latency:") / 1000.0;
        sink_ms = NumberAfter(sinks, "usec, configured") / 1000.0;
    }
    state.counters["stream_buffer_ms"] = buffer_ms;
    state.counters["sink_configured_ms"] = sink_ms;
    state.counters["total_ms"] = buffer_ms + sink_ms;
    state.counters["period_ms"] = 1000.0 * tavrola::kAudioPeriodFrames / tavrola::kSynthSampleRate;
    state.counters["alsa_buffer_ms"] = 1000.0 * tavrola::kAudioPeriodFrames *
                                       tavrola::kAudioPeriodCount / tavrola::kSynthSampleRate;
    state.SetLabel(synth.AudioDriver());
}

// What an instrument change costs the window's thread when samples load on demand.
void BM_ProgramChangeDynamic(benchmark::State& state) {
    const auto soundfont = tavrola::FirstUsableSoundFont(tavrola::SoundFontCandidates());
    if (!soundfont) {
        state.SkipWithError("no SoundFont");
        return;
    }
    FluidSynthOutput synth(
        FluidSynthOptions{.soundfont_path = *soundfont, .audio = SynthAudio::kRenderOnly});
    if (!synth.Open()) {
        state.SkipWithError("the SoundFont does not load");
        return;
    }
    std::int32_t program = 0;
    for (auto _ : state) {
        synth.SendShortMessage(tavrola::PackShortMessage(tavrola::kProgramChangeStatus,
                                                         static_cast<std::uint32_t>(program), 0));
        program = (program + 1) % 128;
    }
    state.SetLabel(std::filesystem::path(*soundfont).filename().string());
}

// What FindMidiOutput pays to learn whether the synthesiser can reach an audio output.
void BM_ProbeSynthAudio(benchmark::State& state, bool with_server) {
    std::unique_ptr<tavrola::testing::HeadlessPulse> server;
    if (with_server) {
        server = std::make_unique<tavrola::testing::HeadlessPulse>();
    }
    bool reached = false;
    for (auto _ : state) {
        reached = tavrola::CanStartSynthAudio();
    }
    state.SetLabel(reached ? "reached" : "no audio output");
}

// One benchmark per SoundFont installed, loaded whole and dynamically.
const bool kRegistered = [] {
    std::vector<std::filesystem::path> seen;
    for (const std::string& candidate : tavrola::SoundFontCandidates()) {
        std::error_code error;
        const auto canonical = std::filesystem::canonical(candidate, error);
        if (error || !std::filesystem::is_regular_file(canonical) ||
            std::find(seen.begin(), seen.end(), canonical) != seen.end()) {
            continue;
        }
        seen.push_back(canonical);
        for (const bool dynamic : {false, true}) {
            const std::string name =
                "BM_OpenSynth/" + canonical.filename().string() + (dynamic ? "/dynamic" : "/whole");
            benchmark::RegisterBenchmark(name.c_str(), BM_OpenSynth, canonical.string(), dynamic)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(dynamic ? 10 : 3);
        }
    }
    benchmark::RegisterBenchmark("BM_ProgramChangeDynamic", BM_ProgramChangeDynamic)
        ->Iterations(128)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SynthBufferedLatency", BM_SynthBufferedLatency)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ProbeSynthAudio/headless_pulse", BM_ProbeSynthAudio, true)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ProbeSynthAudio/no_server", BM_ProbeSynthAudio, false)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
