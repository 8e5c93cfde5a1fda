#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/music/midi_output.h"

namespace tavrola {

// How the built-in synthesiser sounds. 48 kHz is what PipeWire and most desktop sound servers
// run at, so nothing is resampled on the way out.
inline constexpr double kSynthSampleRate = 48000.0;
// 384 frames is 8 ms: a note sent between two periods starts at most 8 ms late, which no ear
// notices. With three periods ALSA holds 24 ms; PulseAudio keeps one period in its buffer.
inline constexpr int kAudioPeriodFrames = 384;
inline constexpr int kAudioPeriodCount = 3;
// Headroom for any instrument the user picks: at this gain two velocity-127 voices of the
// same program, in unison or an octave apart, peak at most 0.92 of full scale with FluidR3_GM
// (its synth leads are the loudest), its pads at 0.63; the default pair 98/91 peaks at 0.25.
inline constexpr double kSynthGain = 0.12;

// Whether the synthesiser plays through the system's audio output or only renders on demand
// (tests and benchmarks read its samples with Render).
enum class SynthAudio { kAudioDriver, kRenderOnly };

struct FluidSynthOptions {
    std::string soundfont_path;
    SynthAudio audio = SynthAudio::kAudioDriver;
    // Loads the samples of the programs in use only, instead of the whole SoundFont.
    bool dynamic_sample_loading = true;
};

// The built-in General MIDI synthesiser: FluidSynth in this process with one SoundFont,
// playing through PulseAudio, PipeWire or ALSA, whichever starts first. It never calls back
// into the program from its audio thread.
class FluidSynthOutput final : public MidiOutput {
  public:
    explicit FluidSynthOutput(FluidSynthOptions options);
    ~FluidSynthOutput() override;
    FluidSynthOutput(const FluidSynthOutput&) = delete;
    FluidSynthOutput& operator=(const FluidSynthOutput&) = delete;

    // Loads the SoundFont and starts the audio driver; false when either fails.
    bool Open() override;
    void SendShortMessage(std::uint32_t message) override;
    // All notes off and all sound off on all 16 channels.
    bool Reset() override;
    bool Close() override;
    std::string Name() const override;

    // The audio driver that plays, empty while closed and in render-only mode.
    const std::string& AudioDriver() const { return audio_driver_; }

    // Render-only mode: synthesises the next left.size() frames into both channels. Both spans
    // must have the same size. Does nothing while closed.
    void Render(std::span<float> left, std::span<float> right);

  private:
    struct Synth;

    FluidSynthOptions options_;
    std::unique_ptr<Synth> synth_;
    std::string audio_driver_;
};

// SoundFonts to try, best first: FluidSynth's own default, then the General MIDI sets the
// distributions install.
std::vector<std::string> SoundFontCandidates();

// The first of `candidates` that is a readable regular file.
std::optional<std::string> FirstUsableSoundFont(const std::vector<std::string>& candidates);

// The audio drivers the synthesiser tries, in order, among those this FluidSynth was built
// with. JACK is never among them: starting it would seize the sound card.
std::vector<std::string> AudioDriverCandidates();

// True when one of the audio drivers starts; it is stopped again at once.
bool CanStartSynthAudio();

}  // namespace tavrola
