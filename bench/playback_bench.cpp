#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "core/helix/sphere_layer.h"
#include "core/music/midi_controler.h"
#include "core/music/midi_output.h"
#include "core/playback/playback_clock.h"
#include "core/sequence/base_sequence.h"

namespace {

// Sends go nowhere, so the figures are the program's own work.
class SilentOutput : public tavrola::MidiOutput {
  public:
    bool Open() override { return true; }
    void SendShortMessage(std::uint32_t message) override { benchmark::DoNotOptimize(message); }
    bool Reset() override { return true; }
    bool Close() override { return true; }
    std::string Name() const override { return "silent"; }
};

class NoView : public tavrola::PlaybackView {
  public:
    void EnableImageButton(tavrola::CommandKey, bool) override {}
    void SetStartButtonLabel(const std::string&) override {}
    void SetVoiceLabel(tavrola::VoiceLabel, const std::string&) override {}
    void StartPlaybackTimer() override {}
    void StopPlaybackTimer() override {}
    void PresentLayer() override {}
    void PresentImageButtons() override {}
};

std::string LongSequenceText(std::size_t bases) {
    const std::string pattern = "gattacacgtttagcatgcaaccgt";
    std::string text;
    while (text.size() < bases) {
        text += pattern;
    }
    text.resize(bases);
    return text;
}

struct Performance {
    Performance() : midi(std::make_unique<SilentOutput>()) {
        tavrola::SetPerformanceDefaults(state, "/");
        tavrola::SetUpSphereLayer(layer, tavrola::kSphereLayerWidth, tavrola::kSphereLayerHeight,
                                  random);
        tavrola::BuildStartUpSpheres(layer, state.pair_count, random);
    }
    tavrola::PlaybackContext Context() { return {state, midi, layer, view, random}; }

    tavrola::PerformanceState state;
    tavrola::MidiControler midi;
    tavrola::SphereLayer layer;
    NoView view;
    tavrola::ProgramRandom random;
};

long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the program holds on the heap now: what a leak would raise, unlike the resident size,
// which also follows how the allocator keeps its free pages.
double HeapInUseKilobytes() {
    return static_cast<double>(mallinfo2().uordblks) / 1024.0;
}

// One timer tick of a playing performance: timing, pitch choice, MIDI sends, the helix.
void BM_PlaybackTick(benchmark::State& state) {
    Performance performance;
    tavrola::InstallSequence(performance.state,
                             tavrola::ParseSequenceText(LongSequenceText(1 << 20)));
    tavrola::PlaybackContext context = performance.Context();
    tavrola::StartPlayback(context);
    for (auto _ : state) {
        tavrola::PlaybackTick(context);
    }
}
BENCHMARK(BM_PlaybackTick)->Unit(benchmark::kMicrosecond);

// A long run: 100,000 ticks of a long sequence with a stop and start every 997 ticks and a
// fresh sequence every 1,009. Resident memory must stay where the first thousand ticks left it.
void BM_PlaybackSoak(benchmark::State& state) {
    constexpr int kTicks = 100000;
    long after_first_thousand = 0;
    long at_half = 0;
    long at_end = 0;
    double heap_after_first_thousand = 0;
    double heap_at_end = 0;
    for (auto _ : state) {
        Performance performance;
        tavrola::PlaybackContext context = performance.Context();
        for (int tick = 0; tick < kTicks; ++tick) {
            if (tick % 1009 == 0) {
                tavrola::InstallSequence(performance.state,
                                         tavrola::ParseSequenceText(LongSequenceText(
                                             8192 + static_cast<std::size_t>(tick))));
            }
            if (!performance.state.playing || tick % 997 == 0) {
                tavrola::TogglePlayback(context);
            }
            tavrola::PlaybackTick(context);
            if (tick == 1000) {
                after_first_thousand = ResidentKilobytes();
                heap_after_first_thousand = HeapInUseKilobytes();
            } else if (tick == kTicks / 2) {
                at_half = ResidentKilobytes();
            }
        }
        at_end = ResidentKilobytes();
        heap_at_end = HeapInUseKilobytes();
    }
    state.counters["heap_kb_after_1k_ticks"] = heap_after_first_thousand;
    state.counters["heap_kb_after_100k_ticks"] = heap_at_end;
    state.counters["rss_kb_after_1k_ticks"] = static_cast<double>(after_first_thousand);
    state.counters["rss_kb_after_50k_ticks"] = static_cast<double>(at_half);
    state.counters["rss_kb_after_100k_ticks"] = static_cast<double>(at_end);
}
BENCHMARK(BM_PlaybackSoak)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
