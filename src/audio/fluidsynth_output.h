#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/pulse_synth_stream.h"
#include "audio/synth_settings.h"
#include "core/music/midi_output.h"

namespace tavrola {

// Its own PulseAudio stream: sound at most 30 ms behind a note, in 10 ms periods. The period
// sets how often the audio thread wakes, the latency how long it may be held up before the
// server runs dry: about 20 ms here (bench/audio_bench.cpp compares the choices).
inline constexpr StreamTiming kSynthStreamTiming{.sample_rate = static_cast<int>(kSynthSampleRate),
                                                 .period_frames = 480,
                                                 .latency_frames = 1440,
                                                 .idle_after = std::chrono::seconds(5),
                                                 .retry_every = std::chrono::milliseconds(250)};
// FluidSynth's own drivers, where no PulseAudio server answers at start-up: 384 frames is
// 8 ms, and three periods hold 24 ms in ALSA.
inline constexpr int kAudioPeriodFrames = 384;
inline constexpr int kAudioPeriodCount = 3;

// How the synthesiser reaches the speakers: its own PulseAudio stream, one of FluidSynth's own
// drivers (where no PulseAudio server takes connections), or not at all: it only renders on
// demand (tests and benchmarks read its samples with Render).
enum class SynthAudio { kPulseStream, kFallbackDriver, kRenderOnly };

struct FluidSynthOptions {
    std::string soundfont_path;
    SynthAudio audio = SynthAudio::kPulseStream;
    // Loads the samples of the programs in use only, instead of the whole SoundFont.
    bool dynamic_sample_loading = true;
};

// The built-in General MIDI synthesiser: FluidSynth in this process with one SoundFont. It
// plays through a PulseAudio stream of its own (also PipeWire's PulseAudio service), which
// sleeps while nothing sounds and comes back by itself after the server restarts or answers
// late; where no PulseAudio server takes connections at start-up, through FluidSynth's PipeWire
// or ALSA driver. It never calls back into the program from its audio thread.
class FluidSynthOutput final : public MidiOutput {
  public:
    explicit FluidSynthOutput(FluidSynthOptions options);
    ~FluidSynthOutput() override;
    FluidSynthOutput(const FluidSynthOutput&) = delete;
    FluidSynthOutput& operator=(const FluidSynthOutput&) = delete;

    // Loads the SoundFont and starts the audio output; false when either fails. The PulseAudio
    // stream starts without asking the server: it connects on its own thread.
    bool Open() override;
    // Every message wakes a sleeping stream: during playback one comes at least every few
    // seconds, so the stream stays up from the first note to the last.
    void SendShortMessage(std::uint32_t message) override;
    // Wakes the stream ahead of the first note.
    void PrepareToPlay() override;
    // All notes off and all sound off on all 16 channels.
    bool Reset() override;
    bool Close() override;
    std::string Name() const override;

    // The audio driver that plays, empty while closed and in render-only mode.
    const std::string& AudioDriver() const { return audio_driver_; }
    // The PulseAudio stream's record; all zero with any other driver.
    PulseSynthStream::Stats StreamStats() const;

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

// The audio drivers the synthesiser tries, in order: its own PulseAudio stream, then
// FluidSynth's PipeWire and ALSA drivers where this FluidSynth was built with them. JACK is
// never among them: starting it would seize the sound card.
std::vector<std::string> AudioDriverCandidates();

// True when one of FluidSynth's own drivers starts; it is stopped again at once.
bool CanStartFallbackDriver();

}  // namespace tavrola
