#pragma once

#include <cstdint>
#include <string>

#include "core/helix/sphere_layer.h"
#include "core/music/midi_controler.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/playback/command_key.h"

namespace tavrola {

inline constexpr const char* kStartLabel = "　　開　始　　";
inline constexpr const char* kStopLabel = "　　停　止　　";
inline constexpr const char* kNoPitchLabel = "-";

// How far one tick turns the helix: the short step, or the long one where the timing says.
inline constexpr double kShortTickStep = 0.1;
inline constexpr double kLongTickStep = 0.2;

enum class VoiceLabel { kRightBase, kLeftBase, kRightPitch, kLeftPitch };

// What playback shows and the timer that drives it. The main window implements it; tests
// record it.
class PlaybackView {
  public:
    virtual ~PlaybackView() = default;
    virtual void EnableImageButton(CommandKey key, bool enable) = 0;
    virtual void SetStartButtonLabel(const std::string& label) = 0;
    virtual void SetVoiceLabel(VoiceLabel label, const std::string& text) = 0;
    virtual void StartPlaybackTimer() = 0;
    virtual void StopPlaybackTimer() = 0;
    virtual void PresentLayer() = 0;
    virtual void PresentImageButtons() = 0;
};

// What nobody watches shows nothing: a performance worked out ahead, a performer without a
// window.
class UnseenPlaybackView final : public PlaybackView {
  public:
    void EnableImageButton(CommandKey, bool) override {}
    void SetStartButtonLabel(const std::string&) override {}
    void SetVoiceLabel(VoiceLabel, const std::string&) override {}
    void StartPlaybackTimer() override {}
    void StopPlaybackTimer() override {}
    void PresentLayer() override {}
    void PresentImageButtons() override {}
};

// Everything a tick works on, for the length of one call.
struct PlaybackContext {
    PerformanceState& state;
    MidiControler& midi;
    SphereLayer& layer;
    PlaybackView& view;
    ProgramRandom& random;
};

// How a tick brings the helix up to date: drawn into the layer and presented, as the window
// shows it, or unseen, moving the spheres and the series exactly as drawing would but leaving
// the pixels alone, for a performance worked out ahead of playing it.
enum class HelixUpdate { kDrawAndPresent, kUnseen };

void TogglePlayback(PlaybackContext& context);
void StartPlayback(PlaybackContext& context);
void StopPlayback(PlaybackContext& context);
// One timer tick: turn the helix, play the next pair when its time has come, stop at the end.
// Live playback and the worked-out performance both run this, so they cannot part ways.
void PlaybackTick(PlaybackContext& context, HelixUpdate helix = HelixUpdate::kDrawAndPresent);

// How far one tick turns the helix, drawing from the shared series where the mode says.
double TickStep(TimingMode timing_mode, ProgramRandom& random);

}  // namespace tavrola
