#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>

namespace tavrola {

// The audio thread's name, as top -H and /proc show it.
inline constexpr const char* kAudioThreadName = "tavrola-audio";

// How the synthesiser's stream meets the sound server. The server asks for one period at a
// time, so the audio thread wakes once a period. `latency_frames` is the whole way from the
// synthesiser to the speakers: the server keeps about two periods of it for the sink's own
// buffer and its safety margin and the rest queued in the stream.
struct StreamTiming {
    int sample_rate = 48000;
    int period_frames = 480;
    int latency_frames = 1440;
    // The stream stays connected this long after the last Wake(), and as long as anything
    // sounds; then it disconnects and the thread sleeps until the next Wake().
    std::chrono::milliseconds idle_after{5000};
    // While the server is away and sound is wanted, a new connection is tried this often.
    std::chrono::milliseconds retry_every{250};
};

// What the stream plays; both are called on the audio thread only.
struct StreamSource {
    // Fills `frames` interleaved stereo frames.
    std::function<void(float* interleaved, std::size_t frames)> render;
    // Whether a voice still sounds, held or fading.
    std::function<bool()> sounding;
};

// Plays a source into PulseAudio (or PipeWire's PulseAudio service) from an audio thread of
// its own. Quiet when idle: once nothing has been asked for a while and nothing sounds, the
// stream and the connection close and the thread blocks; the next Wake() brings them back.
// Outlives the server: when the connection fails, the thread keeps the source's time by
// rendering into nothing and reconnects as soon as a server answers. Every connection is made
// on the audio thread, never by the caller.
class PulseSynthStream {
  public:
    PulseSynthStream(StreamSource source, StreamTiming timing);
    // Disconnects and ends the audio thread.
    ~PulseSynthStream();
    PulseSynthStream(const PulseSynthStream&) = delete;
    PulseSynthStream& operator=(const PulseSynthStream&) = delete;

    // Sound may be asked for soon: keep the stream running for the idle time from now on,
    // connecting it if it sleeps. Returns at once; may be called from any thread.
    void Wake();

    // What the audio thread has done so far; for tests and benchmarks.
    struct Stats {
        bool streaming = false;  // a stream is connected and playing now
        int connections = 0;     // streams that reached the playing state
        int underruns = 0;       // times the server ran out of sound while the stream played
    };
    Stats GetStats() const;

  private:
    struct Shared;
    class AudioThread;

    // Declared in this order so the audio thread, joined in the destructor, goes before
    // what it shares.
    std::unique_ptr<Shared> shared_;
    std::unique_ptr<AudioThread> audio_;
    std::thread thread_;
};

}  // namespace tavrola
