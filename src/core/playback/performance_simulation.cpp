#include "core/playback/performance_simulation.h"

#include <memory>
#include <string>
#include <utility>

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

// Nobody watches a worked-out performance: no buttons, labels or timer.
class UnseenView : public PlaybackView {
  public:
    void EnableImageButton(CommandKey, bool) override {}
    void SetStartButtonLabel(const std::string&) override {}
    void SetVoiceLabel(VoiceLabel, const std::string&) override {}
    void StartPlaybackTimer() override {}
    void StopPlaybackTimer() override {}
    void PresentLayer() override {}
    void PresentImageButtons() override {}
};

}  // namespace

SimulatedPerformance SimulatePerformance(const PerformanceState& state, const SphereTable& spheres,
                                         const ProgramRandom& random) {
    SimulatedPerformance performance;
    performance.right_program = state.right_instrument;
    performance.left_program = state.left_instrument;

    PerformanceState played = state;
    played.playing = 0;
    SphereLayer layer;  // the table alone: an unseen helix draws no pixel
    layer.table = spheres;
    ProgramRandom series = random;
    std::int64_t tick = 0;
    MidiControler midi(std::make_unique<TickRecorder>(performance.events, tick));
    UnseenView view;
    PlaybackContext context{played, midi, layer, view, series};

    StartPlayback(context);
    for (;; ++tick) {
        PlaybackTick(context, HelixUpdate::kUnseen);
        if (played.playing == 0) {
            break;
        }
    }
    performance.stop_tick = tick;
    return performance;
}

}  // namespace tavrola
