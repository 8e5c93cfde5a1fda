#include "audio/sound_server_probe.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

namespace tavrola {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kClientName = "Tavrola";

}  // namespace

// The probe's connection: made on the caller's thread, then used by the probe's thread alone
// until it ends; the destructor frees the main loop once that thread has been joined.
struct SoundServerProbe::Connection {
    pa_mainloop* mainloop = pa_mainloop_new();
    pa_context* context = nullptr;
    std::atomic<bool> quit{false};

    Connection() = default;
    ~Connection() {
        Disconnect();
        if (mainloop != nullptr) {
            pa_mainloop_free(mainloop);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connecting to a local socket fails at once when nobody listens there: false then.
    bool Connect() {
        if (mainloop == nullptr) {
            return false;
        }
        context = pa_context_new(pa_mainloop_get_api(mainloop), kClientName);
        // Spawning a server from a desktop program's start-up would hold the window back.
        return context != nullptr &&
               pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
    }

    void Disconnect() {
        if (context != nullptr) {
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
    }

    SoundServerAnswer Await(Clock::time_point deadline) {
        while (!quit) {
            switch (pa_context_get_state(context)) {
                case PA_CONTEXT_READY:
                    return SoundServerAnswer::kAnswered;
                case PA_CONTEXT_FAILED:
                case PA_CONTEXT_TERMINATED:
                    return SoundServerAnswer::kRefused;
                default:
                    break;
            }
            const Clock::time_point now = Clock::now();
            if (now >= deadline) {
                return SoundServerAnswer::kNoAnswer;
            }
            const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now);
            const int timeout =
                static_cast<int>(std::min<std::int64_t>(wait.count() + 1, 10'000'000));
            if (pa_mainloop_prepare(mainloop, timeout) < 0 || pa_mainloop_poll(mainloop) < 0 ||
                pa_mainloop_dispatch(mainloop) < 0) {
                return SoundServerAnswer::kRefused;
            }
        }
        return SoundServerAnswer::kNoAnswer;
    }
};

SoundServerProbe::SoundServerProbe(std::chrono::milliseconds limit)
    : connection_(std::make_unique<Connection>()) {
    if (!connection_->Connect()) {
        answer_ = SoundServerAnswer::kRefused;
        connection_.reset();
        return;
    }
    const Clock::time_point deadline = Clock::now() + limit;
    thread_ = std::thread([this, deadline] {
        const SoundServerAnswer answer = connection_->Await(deadline);
        // The server learns at once that this connection is over.
        connection_->Disconnect();
        if (!connection_->quit) {
            Finish(answer);
        }
    });
}

SoundServerProbe::~SoundServerProbe() {
    if (thread_.joinable()) {
        connection_->quit = true;
        pa_mainloop_wakeup(connection_->mainloop);
        thread_.join();
    }
}

SoundServerAnswer SoundServerProbe::Answer() const {
    std::lock_guard lock(mutex_);
    return answer_;
}

SoundServerAnswer SoundServerProbe::Wait() const {
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [this] { return answer_ != SoundServerAnswer::kAwaited; });
    return answer_;
}

void SoundServerProbe::WhenAnswered(std::function<void(SoundServerAnswer)> told) {
    std::unique_lock lock(mutex_);
    if (answer_ == SoundServerAnswer::kAwaited) {
        told_ = std::move(told);
        return;
    }
    const SoundServerAnswer answer = answer_;
    lock.unlock();
    told(answer);
}

void SoundServerProbe::Finish(SoundServerAnswer answer) {
    std::function<void(SoundServerAnswer)> told;
    {
        std::lock_guard lock(mutex_);
        answer_ = answer;
        told = std::move(told_);
    }
    answered_.notify_all();
    if (told) {
        told(answer);
    }
}

}  // namespace tavrola
