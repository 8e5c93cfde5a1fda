#include "core/playback/performance_simulation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "core/helix/helix_geometry.h"
#include "core/music/midi_controler.h"
#include "core/music/midi_output.h"
#include "core/playback/playback_clock.h"

namespace tavrola {
namespace {

// Takes down every message with the tick that sends it.
class TickRecorder : public MidiOutput {
  public:
    TickRecorder(std::vector<TimedMidiEvent>& events, const std::int64_t& tick)
        : events_(events), tick_(tick) {}

    bool Open() override { return true; }
    void SendShortMessage(std::uint32_t message) override { events_.push_back({tick_, message}); }
    bool Reset() override { return true; }
    bool Close() override { return true; }
    std::string Name() const override { return "simulation"; }

  private:
    std::vector<TimedMidiEvent>& events_;
    const std::int64_t& tick_;
};

}  // namespace

SimulatedPerformance SimulatePerformance(const PerformanceState& state, const SphereTable& spheres,
                                         const ProgramRandom& random) {
    return *SimulatePerformance(state, spheres, random, ProgressStage{});
}

std::optional<SimulatedPerformance> SimulatePerformance(const PerformanceState& state,
                                                        const SphereTable& spheres,
                                                        const ProgramRandom& random,
                                                        const ProgressStage& stage) {
    // Progress is looked at every so many ticks: a tick takes microseconds.
    constexpr std::int64_t kTicksBetweenLooks = 4096;

    SimulatedPerformance performance;
    performance.right_program = state.right_instrument;
    performance.left_program = state.left_instrument;

    PerformanceState played = state;
    played.playing = false;
    SphereLayer layer;  // the table alone: an unseen helix draws no pixel
    layer.table = spheres;
    ProgramRandom series = random;
    std::int64_t tick = 0;
    MidiControler midi(std::make_unique<TickRecorder>(performance.events, tick));
    UnseenPlaybackView view;
    PlaybackContext context{played, midi, layer, view, series};

    const std::int32_t first_pair = state.play_position;
    const double pairs = std::max(1, SequenceLength(state) - first_pair);
    StartPlayback(context);
    for (;; ++tick) {
        PlaybackTick(context, HelixUpdate::kUnseen);
        if (!played.playing) {
            break;
        }
        if (tick % kTicksBetweenLooks == 0) {
            if (stage.Cancelled()) {
                return std::nullopt;
            }
            stage.Advance(std::min(1.0, (played.play_position - first_pair) / pairs));
        }
    }
    performance.stop_tick = tick;
    stage.Advance(1.0);
    return performance;
}

std::int64_t EarliestStopTick(const PerformanceState& state) {
    const double longest_step =
        state.timing_mode == TimingMode::kQuarter ? kShortTickStep : kLongTickStep;
    const double pairs = std::max(0, SequenceLength(state) - state.play_position);
    // By the stop tick the ticks have taken the phase below 1.0 again after every pair step.
    const double turned = pairs * kPairStep + state.helix_phase - 1.0;
    const auto ticks = static_cast<std::int64_t>(std::floor(turned / longest_step));
    return std::max<std::int64_t>(0, ticks - 1);
}

}  // namespace tavrola
