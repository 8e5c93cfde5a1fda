#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tavrola {

// What the sound server (PulseAudio, or PipeWire's PulseAudio service) said to a connection.
enum class SoundServerAnswer {
    kAwaited,   // it took the connection; its answer has not come yet
    kAnswered,  // it took the connection and answered
    kRefused,   // no server there, or it turned the connection away
    kNoAnswer,  // it took the connection but said nothing in time: a stalled server
};

// How long the start-up waits, off the window's thread, for a server that took the connection.
inline constexpr std::chrono::milliseconds kStartUpAnswerLimit{2500};

// One connection to the sound server. The constructor connects and returns at once: a server
// that is absent or refuses is known then; the answer of one that took the connection is
// awaited on the probe's own thread for at most `limit`. Never spawns a server.
class SoundServerProbe {
  public:
    explicit SoundServerProbe(std::chrono::milliseconds limit = kStartUpAnswerLimit);
    // Stops waiting, ending the probe's thread at once.
    ~SoundServerProbe();
    SoundServerProbe(const SoundServerProbe&) = delete;
    SoundServerProbe& operator=(const SoundServerProbe&) = delete;

    // The answer so far; kAwaited until the server answers or the limit passes.
    SoundServerAnswer Answer() const;
    // Blocks until the answer is known, at most the limit.
    SoundServerAnswer Wait() const;
    // Calls `told` once with the final answer: at once on this thread when it is known already,
    // else on the probe's thread when it comes. Never after the probe's end.
    void WhenAnswered(std::function<void(SoundServerAnswer)> told);

  private:
    struct Connection;

    void Finish(SoundServerAnswer answer);

    mutable std::mutex mutex_;
    mutable std::condition_variable answered_;
    SoundServerAnswer answer_ = SoundServerAnswer::kAwaited;
    std::function<void(SoundServerAnswer)> told_;
    std::unique_ptr<Connection> connection_;
    std::thread thread_;
};

}  // namespace tavrola
