#include "audio/pulse_synth_stream.h"

#include <pthread.h>
#include <pulse/mainloop-api.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "audio/pulse_event_loop.h"
#include "audio/pulse_playback.h"
#include "audio/stream_state_machine.h"

namespace tavrola {

namespace {

using Clock = StreamClock;

constexpr std::size_t kChannels = 2;
// Below -90 dBFS the reverb's tail is over: closing the stream then cuts nothing anyone hears.
constexpr float kAudibleFloor = 3e-5F;
constexpr auto kTailHold = std::chrono::milliseconds(200);
// FluidSynth's default for its audio threads.
constexpr int kRealtimePriority = 60;

// Whether `then` is less than `span` before `now`; "never" is long ago.
bool Within(Clock::time_point now, Clock::time_point then, Clock::duration span) {
    return then != Clock::time_point::min() && now - then < span;
}

}  // namespace

// What the caller's thread and the audio thread share.
struct PulseSynthStream::Shared {
    // Readable while a wake or the quit is pending; the audio thread's loop watches it.
    int wake_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::atomic<Clock::rep> last_wake{Clock::time_point::min().time_since_epoch().count()};
    std::atomic<bool> quit{false};
    std::atomic<bool> streaming{false};
    std::atomic<int> connections{0};
    std::atomic<int> underruns{0};

    Shared() = default;
    ~Shared() {
        if (wake_fd >= 0) {
            ::close(wake_fd);
        }
    }
    Shared(const Shared&) = delete;
    Shared& operator=(const Shared&) = delete;
    void Signal() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_fd, &one, sizeof one);
    }
    void Drain() const {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t read = ::read(wake_fd, &count, sizeof count);
    }
};

// The audio thread: it meets the server through one PulsePlayback at a time and does what the
// state machine says. Everything here is used by the audio thread alone.
class PulseSynthStream::AudioThread final : private PlaybackListener {
  public:
    AudioThread(StreamSource source, StreamTiming timing, Shared& shared)
        : source_(std::move(source)),
          timing_(timing),
          shared_(shared),
          states_(StreamRules{.retry_every = timing.retry_every}),
          scratch_(static_cast<std::size_t>(timing_.period_frames) * kChannels),
          render_([this](float* interleaved, std::size_t frames) {
              Render(interleaved, frames, Clock::now());
          }) {}

    ~AudioThread() override { Disconnect(); }
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

    void Run() {
        if (!loop_.valid() || shared_.wake_fd < 0) {
            return;
        }
        ::pthread_setname_np(::pthread_self(), kAudioThreadName);
        // As FluidSynth's own drivers do: real-time scheduling where the system grants it (a
        // real-time limit, a privileged user), so a busy machine cannot starve the server of
        // sound; elsewhere the thread runs like any other.
        const sched_param realtime{.sched_priority = kRealtimePriority};
        ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &realtime);
        pa_mainloop_api* api = loop_.api();
        pa_io_event* wake_event = api->io_new(
            api, shared_.wake_fd, PA_IO_EVENT_INPUT,
            [](pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* shared) {
                static_cast<Shared*>(shared)->Drain();
            },
            &shared_);
        while (!shared_.quit) {
            const Clock::time_point now = Clock::now();
            Step(now);
            if (!loop_.Iterate(Timeout(now))) {
                break;
            }
        }
        Disconnect();
        api->io_free(wake_event);
    }

  private:
    void Step(Clock::time_point now) {
        const StreamStep step = states_.Step(now, SoundWanted(now));
        if (step.disconnect) {
            Disconnect();
        }
        KeepTime(step.keep_time, now);
        if (step.connect) {
            playback_.emplace(loop_.api(), timing_, static_cast<PlaybackListener&>(*this));
        }
    }

    bool SoundWanted(Clock::time_point now) const {
        const Clock::time_point last_wake{Clock::duration(shared_.last_wake.load())};
        return Within(now, last_wake, timing_.idle_after) || Within(now, last_loud_, kTailHold) ||
               source_.sounding();
    }

    // A sleeping thread is woken by Wake() alone; the rest need a clock.
    std::optional<std::chrono::microseconds> Timeout(Clock::time_point now) const {
        const std::optional<Clock::time_point> due = states_.NextStepDue(now);
        if (!due) {
            return std::nullopt;
        }
        return std::chrono::ceil<std::chrono::microseconds>(*due - now);
    }

    void Disconnect() {
        playback_.reset();
        shared_.streaming = false;
    }

    void Render(float* interleaved, std::size_t frames, Clock::time_point now) {
        source_.render(interleaved, frames);
        const float* begin = interleaved;
        if (std::any_of(begin, begin + frames * kChannels,
                        [](float sample) { return std::fabs(sample) > kAudibleFloor; })) {
            last_loud_ = now;
        }
    }

    // With nobody listening the source still moves on in time, so held notes fade as they
    // would and a returning server does not get stale sound.
    void KeepTime(Clock::duration elapsed, Clock::time_point now) {
        auto frames = static_cast<std::size_t>(std::chrono::duration<double>(elapsed).count() *
                                               timing_.sample_rate);
        const std::size_t period = scratch_.size() / kChannels;
        while (frames > 0) {
            const std::size_t count = std::min(frames, period);
            Render(scratch_.data(), count, now);
            frames -= count;
        }
    }

    void OnReady() override {
        states_.Ready(Clock::now());
        shared_.streaming = true;
        shared_.connections.fetch_add(1);
    }
    void OnStarted() override { states_.Started(Clock::now()); }
    void OnLost() override { states_.Lose(); }
    void OnWritable(std::size_t bytes) override {
        const Clock::time_point now = Clock::now();
        if (const std::optional<Clock::duration> stalled = states_.Request(now)) {
            // Back from a stall: the source has kept its time, and what was queued before is
            // stale, so only what sounds now is heard.
            KeepTime(*stalled, now);
            playback_->DropQueued();
        }
        if (!playback_->Write(bytes, render_)) {
            states_.Lose();
        }
    }
    void OnUnderflow() override { shared_.underruns.fetch_add(1); }

    StreamSource source_;
    StreamTiming timing_;
    Shared& shared_;
    StreamStateMachine states_;
    PulseEventLoop loop_;
    std::optional<PulsePlayback> playback_;
    Clock::time_point last_loud_ = Clock::time_point::min();
    std::vector<float> scratch_;
    const std::function<void(float*, std::size_t)> render_;
};

PulseSynthStream::PulseSynthStream(StreamSource source, StreamTiming timing)
    : shared_(std::make_unique<Shared>()),
      audio_(std::make_unique<AudioThread>(std::move(source), timing, *shared_)) {
    thread_ = std::thread([audio = audio_.get()] { audio->Run(); });
}

PulseSynthStream::~PulseSynthStream() {
    shared_->quit = true;
    shared_->Signal();
    thread_.join();
}

void PulseSynthStream::Wake() {
    shared_->last_wake = Clock::now().time_since_epoch().count();
    shared_->Signal();
}

PulseSynthStream::Stats PulseSynthStream::GetStats() const {
    return Stats{.streaming = shared_->streaming,
                 .connections = shared_->connections,
                 .underruns = shared_->underruns};
}

}  // namespace tavrola
