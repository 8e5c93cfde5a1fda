#include "audio/pulse_synth_stream.h"

#include <pthread.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/operation.h>
#include <pulse/stream.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace tavrola {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kChannels = 2;
constexpr std::size_t kFrameBytes = kChannels * sizeof(float);
constexpr const char* kClientName = "Tavrola";
constexpr const char* kStreamName = "synthesiser";
// Below -90 dBFS the reverb's tail is over: closing the stream then cuts nothing anyone hears.
constexpr float kAudibleFloor = 3e-5F;
constexpr auto kTailHold = std::chrono::milliseconds(200);
// FluidSynth's default for its audio threads.
constexpr int kRealtimePriority = 60;
// A server that accepts the connection but never answers counts as away.
constexpr auto kConnectTimeout = std::chrono::seconds(2);
// While the server is away the source's time is kept in steps of at most this much.
constexpr auto kLongestKeptStep = std::chrono::seconds(1);
// A connected server that has not asked for sound this long has stalled (it asks every
// period); meanwhile the source's time is kept in steps of this much.
constexpr auto kStallAfter = std::chrono::milliseconds(200);
constexpr auto kStalledStep = std::chrono::milliseconds(100);

// Whether `then` is less than `span` before `now`; "never" is long ago.
bool Within(Clock::time_point now, Clock::time_point then, Clock::duration span) {
    return then != Clock::time_point::min() && now - then < span;
}

std::uint32_t FramesToBytes(int frames) {
    return static_cast<std::uint32_t>(frames) * static_cast<std::uint32_t>(kFrameBytes);
}

pa_sample_spec StereoFloat(int sample_rate) {
    return pa_sample_spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(sample_rate),
                          static_cast<std::uint8_t>(kChannels)};
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

// Everything PulseAudio touches lives here and is used by the audio thread alone.
class PulseSynthStream::AudioThread {
  public:
    AudioThread(StreamSource source, StreamTiming timing, Shared& shared)
        : source_(std::move(source)),
          timing_(timing),
          shared_(shared),
          mainloop_(pa_mainloop_new()),
          scratch_(static_cast<std::size_t>(timing_.period_frames) * kChannels) {}

    ~AudioThread() {
        Disconnect();
        if (mainloop_ != nullptr) {
            pa_mainloop_free(mainloop_);
        }
    }
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

    void Run() {
        if (mainloop_ == nullptr || shared_.wake_fd < 0) {
            return;
        }
        ::pthread_setname_np(::pthread_self(), kAudioThreadName);
        // As FluidSynth's own drivers do: real-time scheduling where the system grants it (a
        // real-time limit, a privileged user), so a busy machine cannot starve the server of
        // sound; elsewhere the thread runs like any other.
        const sched_param realtime{.sched_priority = kRealtimePriority};
        ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &realtime);
        pa_mainloop_api* api = pa_mainloop_get_api(mainloop_);
        pa_io_event* wake_event =
            api->io_new(api, shared_.wake_fd, PA_IO_EVENT_INPUT, OnWakeSignal, this);
        while (!shared_.quit) {
            const Clock::time_point now = Clock::now();
            Step(now);
            if (pa_mainloop_prepare(mainloop_, TimeoutMicroseconds(now)) < 0 ||
                pa_mainloop_poll(mainloop_) < 0 || pa_mainloop_dispatch(mainloop_) < 0) {
                break;
            }
        }
        Disconnect();
        api->io_free(wake_event);
    }

  private:
    enum class State {
        kAsleep,      // no connection, nothing to do: the thread blocks
        kConnecting,  // waiting for the server to take the stream
        kStreaming,   // the server asks for sound, one period at a time
        kStalled,     // connected, but the server has stopped asking: keeping time
        kAway,        // the server went away or never answered: keeping time, trying again
    };

    // Moves the state on; runs before every wait, so after every event.
    void Step(Clock::time_point now) {
        if (state_ == State::kConnecting && now - connecting_since_ > kConnectTimeout) {
            lost_ = true;
        }
        if (lost_) {
            lost_ = false;
            Disconnect();
            state_ = State::kAway;
            next_attempt_ = now + timing_.retry_every;
            time_kept_until_ = now;
        }
        if (state_ == State::kStreaming && now - last_request_ > kStallAfter) {
            state_ = State::kStalled;
            time_kept_until_ = last_request_;
        }
        if (state_ == State::kAway || state_ == State::kStalled) {
            KeepTime(now);
        }
        const bool wanted = SoundWanted(now);
        switch (state_) {
            case State::kAsleep:
                if (wanted) {
                    Connect(now);
                }
                break;
            case State::kConnecting:
            case State::kStreaming:
            case State::kStalled:
                if (!wanted) {
                    Disconnect();
                    state_ = State::kAsleep;
                }
                break;
            case State::kAway:
                if (!wanted) {
                    state_ = State::kAsleep;
                } else if (now >= next_attempt_) {
                    Connect(now);
                }
                break;
        }
    }

    bool SoundWanted(Clock::time_point now) const {
        const Clock::time_point last_wake{Clock::duration(shared_.last_wake.load())};
        return Within(now, last_wake, timing_.idle_after) || Within(now, last_loud_, kTailHold) ||
               source_.sounding();
    }

    // A sleeping thread is woken by Wake() alone; the rest need a clock: a playing stream in
    // case the server stops asking.
    int TimeoutMicroseconds(Clock::time_point now) const {
        Clock::time_point until;
        switch (state_) {
            case State::kAsleep:
                return -1;
            case State::kConnecting:
                until = connecting_since_ + kConnectTimeout;
                break;
            case State::kStreaming:
                until = last_request_ + kStallAfter;
                break;
            case State::kStalled:
                until = now + kStalledStep;
                break;
            case State::kAway:
                until = next_attempt_;
                break;
        }
        const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(until - now);
        return static_cast<int>(std::clamp<std::int64_t>(wait.count() + 1, 0, 10'000'000));
    }

    void Connect(Clock::time_point now) {
        state_ = State::kConnecting;
        connecting_since_ = now;
        context_ = pa_context_new(pa_mainloop_get_api(mainloop_), kClientName);
        if (context_ == nullptr) {
            lost_ = true;
            return;
        }
        pa_context_set_state_callback(context_, OnContextState, this);
        // Never spawn a server: every retry would start one.
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            lost_ = true;
        }
    }

    void OpenStream() {
        const pa_sample_spec format = StereoFloat(timing_.sample_rate);
        stream_ = pa_stream_new(context_, kStreamName, &format, nullptr);
        if (stream_ == nullptr) {
            lost_ = true;
            return;
        }
        pa_stream_set_state_callback(stream_, OnStreamState, this);
        pa_stream_set_write_callback(stream_, OnWritable, this);
        pa_stream_set_underflow_callback(stream_, OnUnderflow, this);
        pa_buffer_attr buffer;
        buffer.maxlength = static_cast<std::uint32_t>(-1);
        buffer.tlength = FramesToBytes(timing_.latency_frames);
        buffer.prebuf = static_cast<std::uint32_t>(-1);
        buffer.minreq = FramesToBytes(timing_.period_frames);
        buffer.fragsize = static_cast<std::uint32_t>(-1);
        // The latency asked for is the whole way to the speakers: the server splits it between
        // this stream's queue and the sink's own buffer.
        if (pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY, nullptr,
                                       nullptr) < 0) {
            lost_ = true;
        }
    }

    void Disconnect() {
        if (stream_ != nullptr) {
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_set_write_callback(stream_, nullptr, nullptr);
            pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
            stream_ = nullptr;
        }
        if (context_ != nullptr) {
            pa_context_set_state_callback(context_, nullptr, nullptr);
            pa_context_disconnect(context_);
            pa_context_unref(context_);
            context_ = nullptr;
        }
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

    // With no server the source still moves on in time, so held notes fade as they would and
    // a returning server does not get stale sound.
    void KeepTime(Clock::time_point now) {
        const Clock::duration elapsed = std::min<Clock::duration>(
            now - time_kept_until_, std::chrono::duration_cast<Clock::duration>(kLongestKeptStep));
        auto frames = static_cast<std::size_t>(std::chrono::duration<double>(elapsed).count() *
                                               timing_.sample_rate);
        const std::size_t period = scratch_.size() / kChannels;
        while (frames > 0) {
            const std::size_t count = std::min(frames, period);
            Render(scratch_.data(), count, now);
            frames -= count;
        }
        time_kept_until_ = now;
    }

    void Write(std::size_t bytes) {
        const Clock::time_point now = Clock::now();
        last_request_ = now;
        if (state_ == State::kStalled) {
            // Back from a stall: what was queued before it is stale, and the source has kept
            // its time, so only what sounds now is heard.
            KeepTime(now);
            if (pa_operation* flush = pa_stream_flush(stream_, nullptr, nullptr)) {
                pa_operation_unref(flush);
            }
            state_ = State::kStreaming;
        }
        while (bytes >= kFrameBytes) {
            void* data = nullptr;
            std::size_t size = bytes;
            if (pa_stream_begin_write(stream_, &data, &size) < 0 || data == nullptr) {
                lost_ = true;
                return;
            }
            const std::size_t frames = std::min(size, bytes) / kFrameBytes;
            if (frames == 0) {
                pa_stream_cancel_write(stream_);
                return;  // the server asks again when it has room
            }
            Render(static_cast<float*>(data), frames, now);
            if (pa_stream_write(stream_, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) <
                0) {
                lost_ = true;
                return;
            }
            bytes -= frames * kFrameBytes;
        }
    }

    static void OnWakeSignal(pa_mainloop_api* /*api*/, pa_io_event* /*event*/, int /*fd*/,
                             pa_io_event_flags_t /*flags*/, void* self) {
        static_cast<AudioThread*>(self)->shared_.Drain();
    }
    static void OnContextState(pa_context* context, void* self) {
        auto* audio = static_cast<AudioThread*>(self);
        switch (pa_context_get_state(context)) {
            case PA_CONTEXT_READY:
                audio->OpenStream();
                break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED:
                audio->lost_ = true;
                break;
            default:
                break;
        }
    }
    static void OnStreamState(pa_stream* stream, void* self) {
        auto* audio = static_cast<AudioThread*>(self);
        switch (pa_stream_get_state(stream)) {
            case PA_STREAM_READY:
                audio->state_ = State::kStreaming;
                audio->last_request_ = Clock::now();
                audio->shared_.streaming = true;
                audio->shared_.connections.fetch_add(1);
                break;
            case PA_STREAM_FAILED:
            case PA_STREAM_TERMINATED:
                audio->lost_ = true;
                break;
            default:
                break;
        }
    }
    static void OnWritable(pa_stream* /*stream*/, std::size_t bytes, void* self) {
        static_cast<AudioThread*>(self)->Write(bytes);
    }
    static void OnUnderflow(pa_stream* /*stream*/, void* self) {
        static_cast<AudioThread*>(self)->shared_.underruns.fetch_add(1);
    }

    StreamSource source_;
    StreamTiming timing_;
    Shared& shared_;
    pa_mainloop* mainloop_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    State state_ = State::kAsleep;
    // Set from PulseAudio's callbacks; the next step disconnects and plans the retry.
    bool lost_ = false;
    Clock::time_point connecting_since_;
    Clock::time_point next_attempt_;
    Clock::time_point time_kept_until_;
    Clock::time_point last_request_;
    Clock::time_point last_loud_ = Clock::time_point::min();
    std::vector<float> scratch_;
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
