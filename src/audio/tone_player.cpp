#include "audio/tone_player.h"

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <numbers>
#include <thread>
#include <utility>
#include <vector>

#include "audio/sound_server_probe.h"

namespace tavrola {

namespace {

constexpr std::uint32_t kToneSampleRate = 48000;
// The tone is written 10 ms at a time into a 40 ms server buffer, so a stop takes effect
// within a few tens of milliseconds and the drain at the end is short.
constexpr std::size_t kChunkFrames = kToneSampleRate / 100;
constexpr std::uint32_t kServerBufferBytes = kToneSampleRate / 25 * sizeof(float);
// Soft edges keep the tone from clicking on and off.
constexpr double kFadeSeconds = 0.005;
constexpr auto kExitWait = std::chrono::seconds(1);
// A refusal is answered at once: a server that has not answered by then gets the bell instead.
constexpr auto kPromptAnswer = std::chrono::milliseconds(250);

struct PulseStreamDeleter {
    void operator()(pa_simple* stream) const { pa_simple_free(stream); }
};
using PulseStream = std::unique_ptr<pa_simple, PulseStreamDeleter>;

PulseStream OpenToneStream() {
    const pa_sample_spec sample_format = {PA_SAMPLE_FLOAT32NE, kToneSampleRate, 1};
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = kServerBufferBytes;
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    buffer.minreq = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    return PulseStream(pa_simple_new(nullptr, "Tavrola", PA_STREAM_PLAYBACK, nullptr,
                                     "refusal tone", &sample_format, nullptr, &buffer, &error));
}

float ToneSample(const ToneSpec& tone, std::size_t frame, std::size_t total_frames) {
    const double t = static_cast<double>(frame) / kToneSampleRate;
    const double to_end = static_cast<double>(total_frames - frame) / kToneSampleRate;
    const double envelope = std::min({1.0, t / kFadeSeconds, to_end / kFadeSeconds});
    return static_cast<float>(tone.amplitude * envelope *
                              std::sin(2.0 * std::numbers::pi * tone.frequency_hz * t));
}

}  // namespace

// What a worker shares with the player. The worker holds its own reference, so a worker
// left behind at exit never touches a destroyed player.
struct ToneVoiceState {
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished_changed;
    bool finished = false;

    void MarkFinished() {
        std::lock_guard lock(mutex);
        finished = true;
        finished_changed.notify_all();
    }
    bool WaitFinished(std::chrono::steady_clock::time_point deadline) {
        std::unique_lock lock(mutex);
        return finished_changed.wait_until(lock, deadline, [this] { return finished; });
    }
    bool IsFinished() {
        std::lock_guard lock(mutex);
        return finished;
    }
};

struct TonePlayer::Voice {
    std::shared_ptr<ToneVoiceState> state = std::make_shared<ToneVoiceState>();
    std::thread worker;
};

namespace {

void PlayTone(const ToneSpec& tone, ToneVoiceState& state, const std::function<void()>& no_output) {
    if (state.stop) {
        return;
    }
    // The blocking connection below has no limit of its own: ask the server first.
    const PulseStream stream =
        SoundServerProbe(kPromptAnswer).Wait() == SoundServerAnswer::kAnswered ? OpenToneStream()
                                                                               : nullptr;
    if (!stream) {
        if (no_output) {
            no_output();
        }
        return;
    }
    const auto total_frames = static_cast<std::size_t>(tone.seconds * kToneSampleRate);
    std::vector<float> chunk(kChunkFrames);
    bool written = true;
    for (std::size_t frame = 0; frame < total_frames && written && !state.stop;) {
        const std::size_t count = std::min(kChunkFrames, total_frames - frame);
        for (std::size_t i = 0; i < count; ++i) {
            chunk[i] = ToneSample(tone, frame + i, total_frames);
        }
        int error = 0;
        written = pa_simple_write(stream.get(), chunk.data(), count * sizeof(float), &error) == 0;
        frame += count;
    }
    int error = 0;
    if (state.stop) {
        pa_simple_flush(stream.get(), &error);
    } else if (written) {
        pa_simple_drain(stream.get(), &error);
    }
}

}  // namespace

TonePlayer::TonePlayer() = default;

TonePlayer::~TonePlayer() {
    std::lock_guard lock(mutex_);
    for (const auto& voice : voices_) {
        voice->state->stop = true;
    }
    const auto deadline = std::chrono::steady_clock::now() + kExitWait;
    for (const auto& voice : voices_) {
        if (voice->state->WaitFinished(deadline)) {
            voice->worker.join();
        } else {
            // Stuck in the sound server: rather than hang the exit, the worker is left to end
            // with the process; it holds everything it touches.
            voice->worker.detach();
        }
    }
}

void TonePlayer::Play(const ToneSpec& tone, std::function<void()> no_output) {
    ReapFinishedVoices();
    auto voice = std::make_unique<Voice>();
    voice->worker = std::thread([tone, state = voice->state, no_output = std::move(no_output)] {
        PlayTone(tone, *state, no_output);
        state->MarkFinished();
    });
    std::lock_guard lock(mutex_);
    voices_.push_back(std::move(voice));
}

void TonePlayer::Stop() {
    std::vector<std::unique_ptr<Voice>> stopping;
    {
        std::lock_guard lock(mutex_);
        stopping.swap(voices_);
    }
    for (auto& voice : stopping) {
        voice->state->stop = true;
        voice->worker.join();
    }
}

int TonePlayer::PlayingCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(voices_.begin(), voices_.end(), [](const auto& voice) {
        return !voice->state->IsFinished();
    }));
}

void TonePlayer::ReapFinishedVoices() {
    std::vector<std::unique_ptr<Voice>> finished;
    {
        std::lock_guard lock(mutex_);
        auto first_finished =
            std::stable_partition(voices_.begin(), voices_.end(),
                                  [](const auto& voice) { return !voice->state->IsFinished(); });
        std::move(first_finished, voices_.end(), std::back_inserter(finished));
        voices_.erase(first_finished, voices_.end());
    }
    for (auto& voice : finished) {
        voice->worker.join();
    }
}

void PlayRefusalTone(std::function<void()> no_output) {
    // Lives until exit, when its destructor cuts a tone that still sounds.
    static TonePlayer player;
    player.Play(ToneSpec{}, std::move(no_output));
}

}  // namespace tavrola
