#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/fluidsynth_output.h"
#include "audio/pulse_synth_stream.h"
#include "audio/sound_server_probe.h"
#include "core/music/midi_controler.h"
#include "core/music/performance_state.h"
#include "support/headless_pulse.h"
#include "support/process_usage.h"

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

// Keeps the machine's cores busy while it lives, as other programs on a desktop would.
class BusyCores {
  public:
    explicit BusyCores(long count) {
        for (long i = 0; i < count; ++i) {
            pids_.push_back(tavrola::testing::SpawnProgram(
                {tavrola::testing::FindOnPath("sh")->string(), "-c", "while :; do :; done"}, {},
                "/dev/null", "/dev/null"));
        }
    }
    ~BusyCores() {
        for (pid_t pid : pids_) {
            tavrola::testing::StopProgram(pid, SIGKILL);
        }
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

  private:
    std::vector<pid_t> pids_;
};

// The synthesiser's own PulseAudio stream with a given period and latency, playing as a
// performance does (both voices change note every 1.5 s) into a headless PulseAudio, on an
// idle machine or with every core kept busy: CPU of this process and of the server, the audio
// thread's wake-ups, the server's underruns and the latency the server reports.
// Arguments: period frames, latency frames, busy (0 or 1).
void BM_SynthStream(benchmark::State& state) {
    const auto soundfont = tavrola::FirstUsableSoundFont(tavrola::SoundFontCandidates());
    if (!tavrola::testing::HeadlessPulse::IsInstalled() || !soundfont) {
        state.SkipWithError("needs pulseaudio and a SoundFont");
        return;
    }
    tavrola::testing::HeadlessPulse server;
    FluidSynthOutput synth(
        FluidSynthOptions{.soundfont_path = *soundfont, .audio = SynthAudio::kRenderOnly});
    if (!server.running() || !synth.Open()) {
        state.SkipWithError("the headless PulseAudio or the synthesiser did not start");
        return;
    }
    std::vector<float> left;
    std::vector<float> right;
    tavrola::StreamTiming timing = tavrola::kSynthStreamTiming;
    timing.period_frames = static_cast<int>(state.range(0));
    timing.latency_frames = static_cast<int>(state.range(1));
    tavrola::PulseSynthStream stream(
        tavrola::StreamSource{.render =
                                  [&](float* interleaved, std::size_t frames) {
                                      left.resize(frames);
                                      right.resize(frames);
                                      synth.Render(left, right);
                                      for (std::size_t i = 0; i < frames; ++i) {
                                          interleaved[2 * i] = left[i];
                                          interleaved[2 * i + 1] = right[i];
                                      }
                                  },
                              .sounding = [] { return true; }},
        timing);
    const auto send = [&synth](std::uint32_t status, int data1, int data2) {
        synth.SendShortMessage(tavrola::PackShortMessage(status, static_cast<std::uint32_t>(data1),
                                                         static_cast<std::uint32_t>(data2)));
    };
    const auto play_pairs = [&](int pairs) {
        for (int pair = 0; pair < pairs; ++pair) {
            stream.Wake();
            send(tavrola::kNoteOffStatus, 58 + pair % 12, 0);
            send(tavrola::kNoteOffStatus + 1, 46 + pair % 7, 0);
            send(tavrola::kNoteOnStatus, 58 + (pair + 1) % 12, 127);
            send(tavrola::kNoteOnStatus + 1, 46 + (pair + 1) % 7, 127);
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
    };
    send(tavrola::kProgramChangeStatus, tavrola::kDefaultRightInstrument, 0);
    send(tavrola::kProgramChangeStatus + 1, tavrola::kDefaultLeftInstrument, 0);
    play_pairs(2);  // past the fresh sink's first seconds
    const BusyCores busy(state.range(2) != 0 ? ::sysconf(_SC_NPROCESSORS_ONLN) : 0);
    constexpr int kPairs = 8;
    std::vector<double> latencies;
    for (auto _ : state) {
        const auto process = tavrola::testing::UsageOf(::getpid());
        const auto audio = tavrola::testing::UsageOf(::getpid(), tavrola::kAudioThreadName);
        const auto sound_server = tavrola::testing::UsageOf(server.pid());
        const int underruns = stream.GetStats().underruns;
        play_pairs(kPairs);
        const double seconds = 1.5 * kPairs;
        state.counters["cpu_%"] =
            100 * (tavrola::testing::UsageOf(::getpid()).cpu_seconds - process.cpu_seconds) /
            seconds;
        state.counters["server_cpu_%"] =
            100 * (tavrola::testing::UsageOf(server.pid()).cpu_seconds - sound_server.cpu_seconds) /
            seconds;
        state.counters["wakeups/s"] =
            static_cast<double>(tavrola::testing::WakeUpsBetween(
                audio, tavrola::testing::UsageOf(::getpid(), tavrola::kAudioThreadName))) /
            seconds;
        state.counters["underruns"] = stream.GetStats().underruns - underruns;
    }
    for (int sample = 0; sample < 10; ++sample) {
        if (const std::optional<double> latency = server.PlaybackLatencyMs()) {
            latencies.push_back(*latency);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(130));
    }
    if (!latencies.empty()) {
        state.counters["latency_max_ms"] = *std::max_element(latencies.begin(), latencies.end());
    }
    state.SetLabel(state.range(2) != 0 ? "all cores busy" : "quiet machine");
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

// What the start-up pays, on the window's thread, to learn what the sound server says: the
// connection only; a server that takes it is answered on the probe's own thread.
void BM_ProbeSoundServer(benchmark::State& state, bool with_server) {
    std::unique_ptr<tavrola::testing::HeadlessPulse> server;
    if (with_server) {
        server = std::make_unique<tavrola::testing::HeadlessPulse>();
    }
    tavrola::SoundServerAnswer answer = tavrola::SoundServerAnswer::kAwaited;
    for (auto _ : state) {
        const tavrola::SoundServerProbe probe;
        answer = probe.Answer();
        state.PauseTiming();
        answer = answer == tavrola::SoundServerAnswer::kAwaited ? probe.Wait() : answer;
        state.ResumeTiming();
    }
    state.SetLabel(answer == tavrola::SoundServerAnswer::kAnswered ? "answered" : "refused");
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
    // The chosen 10 ms period and 30 ms latency beside a shorter and a longer period.
    benchmark::RegisterBenchmark("BM_SynthStream", BM_SynthStream)
        ->ArgNames({"period", "latency", "busy"})
        ->ArgsProduct({{240, 480, 720}, {1440}, {0, 1}})
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ProbeSoundServer/headless_pulse", BM_ProbeSoundServer, true)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ProbeSoundServer/no_server", BM_ProbeSoundServer, false)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
