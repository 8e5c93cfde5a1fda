#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
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
    // Where the SoundFont loads beside the caller (every mode but render-only), a load that
    // fails after Open() has returned calls this once, on the loading thread; the output then
    // stays silent.
    std::function<void()> failed_to_load = {};
};

// The built-in General MIDI synthesiser: FluidSynth in this process with one SoundFont. It
// plays through a PulseAudio stream of its own (also PipeWire's PulseAudio service), which
// sleeps while nothing sounds and comes back by itself after the server restarts or answers
// late; where no PulseAudio server takes connections at start-up, through FluidSynth's PipeWire
// or ALSA driver. It never calls back into the program from its audio thread.
//
// A SoundFont takes a tenth of a second or more to load, so a playing output loads it on a
// thread of its own: the window comes up meanwhile, and what is sent before the load ends is
// played, in order, as soon as it has (the first note comes long after).
class FluidSynthOutput final : public MidiOutput {
  public:
    explicit FluidSynthOutput(FluidSynthOptions options);
    ~FluidSynthOutput() override;
    FluidSynthOutput(const FluidSynthOutput&) = delete;
    FluidSynthOutput& operator=(const FluidSynthOutput&) = delete;

    // False at once when the file is no SoundFont. Otherwise starts loading it and the audio
    // output and returns true; in render-only mode it waits for the load and returns false when
    // it fails. The PulseAudio stream starts without asking the server: it connects on its own
    // thread.
    bool Open() override;
    // Every message wakes a sleeping stream: during playback one comes at least every few
    // seconds, so the stream stays up from the first note to the last.
    void SendShortMessage(std::uint32_t message) override;
    // Wakes the stream ahead of the first note.
    void PrepareToPlay() override;
    // All notes off and all sound off on all 16 channels.
    bool Reset() override;
    // Waits for a load under way.
    bool Close() override;
    std::string Name() const override;

    // The audio driver that plays, empty while closed, in render-only mode and when the load
    // failed; waits for a load under way.
    const std::string& AudioDriver() const;
    // The PulseAudio stream's record; all zero with any other driver.
    PulseSynthStream::Stats StreamStats() const;

    // Render-only mode: synthesises the next left.size() frames into both channels. Both spans
    // must have the same size. Does nothing while closed.
    void Render(std::span<float> left, std::span<float> right);

  private:
    struct Synth;
    struct Loading;

    // Where a call goes: to the synthesiser now, in line for the end of the load, or nowhere
    // (closed, or the load failed).
    enum class Reach { kNow, kQueued, kNothing };

    // The loading thread's work: the synthesiser, its SoundFont and its audio output.
    void Load();
    // Queues `call` (a message, or a reset when empty) while the load runs.
    Reach ReachSynth(std::optional<std::uint32_t> call);
    // True once the synthesiser may be used from the caller's thread without a lock.
    bool Loaded() const;
    void WaitForLoad() const;

    FluidSynthOptions options_;
    // While open. Written by the loading thread until Loaded(), then by the caller's thread.
    std::unique_ptr<Synth> synth_;
    std::unique_ptr<Loading> loading_;
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
