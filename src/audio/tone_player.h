#pragma once

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
// each on a worker thread of its own, so the caller never waits for a tone to end.
class TonePlayer {
  public:
    TonePlayer();
    // Stops what still sounds and waits a moment for it; a worker stuck in the sound server
    // is left to end with the process rather than hang its exit.
    ~TonePlayer();
    TonePlayer(const TonePlayer&) = delete;
    TonePlayer& operator=(const TonePlayer&) = delete;

    // Connects to the sound server and starts the tone; false at once when no audio output
    // can be opened. Returns without waiting for the tone.
    bool Play(const ToneSpec& tone);

    // Cuts every tone short and waits for the workers.
    void Stop();

    // How many tones are still sounding.
    int PlayingCount();

  private:
    struct Voice;

    void ReapFinishedVoices();

    std::mutex mutex_;
    std::vector<std::unique_ptr<Voice>> voices_;
};

// The refusal tone of the Instrument dialog: 1000 Hz for one second through the process's one
// player. False at once when there is no audio output (the caller then rings the bell).
bool PlayRefusalTone();

}  // namespace tavrola
