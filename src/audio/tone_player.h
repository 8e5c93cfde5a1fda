#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace tavrola {

struct ToneSpec {
    double frequency_hz = 1000.0;
    double seconds = 1.0;
    double amplitude = 0.3;  // of full scale
};

// Plays sine tones through the sound server (PulseAudio, or PipeWire's PulseAudio service),
// each on a worker thread of its own that also makes the connection, so the caller waits
// neither for the server nor for the tone.
class TonePlayer {
  public:
    TonePlayer();
    // Stops what still sounds and waits a moment for it; a worker stuck in the sound server
    // is left to end with the process rather than hang its exit.
    ~TonePlayer();
    TonePlayer(const TonePlayer&) = delete;
    TonePlayer& operator=(const TonePlayer&) = delete;

    // Starts a worker that connects to the sound server and plays the tone. When no audio
    // output can be opened there, the worker calls `no_output` instead, on its own thread.
    void Play(const ToneSpec& tone, std::function<void()> no_output = {});

    // Cuts every tone short and waits for the workers.
    void Stop();

    // How many tones are still connecting or sounding.
    int PlayingCount();

  private:
    struct Voice;

    void ReapFinishedVoices();

    std::mutex mutex_;
    std::vector<std::unique_ptr<Voice>> voices_;
};

// The refusal tone of the Instrument dialog: 1000 Hz for one second through the process's one
// player. Where there is no audio output, `no_output` runs instead, on the tone's thread (the
// caller then rings the bell).
void PlayRefusalTone(std::function<void()> no_output);

}  // namespace tavrola
