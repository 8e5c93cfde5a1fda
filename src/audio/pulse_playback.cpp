#include "audio/pulse_playback.h"

#include <pulse/context.h>
#include <pulse/operation.h>
#include <pulse/stream.h>

#include <algorithm>
#include <cstdint>

#include "audio/pulse_synth_stream.h"

namespace tavrola {

namespace {

constexpr std::size_t kChannels = 2;
constexpr std::size_t kFrameBytes = kChannels * sizeof(float);
constexpr const char* kClientName = "Tavrola";
constexpr const char* kStreamName = "synthesiser";

std::uint32_t FramesToBytes(int frames) {
    return static_cast<std::uint32_t>(frames) * static_cast<std::uint32_t>(kFrameBytes);
}

PlaybackListener& ListenerOf(void* listener) {
    return *static_cast<PlaybackListener*>(listener);
}

}  // namespace

PulsePlayback::PulsePlayback(pa_mainloop_api* api, const StreamTiming& timing,
                             PlaybackListener& listener)
    : timing_(timing), listener_(listener) {
    context_ = pa_context_new(api, kClientName);
    if (context_ == nullptr) {
        listener_.OnLost();
        return;
    }
    pa_context_set_state_callback(
        context_,
        [](pa_context* context, void* self) {
            auto* playback = static_cast<PulsePlayback*>(self);
            switch (pa_context_get_state(context)) {
                case PA_CONTEXT_READY:
                    playback->OpenStream();
                    break;
                case PA_CONTEXT_FAILED:
                case PA_CONTEXT_TERMINATED:
                    playback->listener_.OnLost();
                    break;
                default:
                    break;
            }
        },
        this);
    // Never spawn a server: every retry would start one.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        listener_.OnLost();
    }
}

PulsePlayback::~PulsePlayback() {
    if (stream_ != nullptr) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
        pa_stream_set_started_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
    }
    if (context_ != nullptr) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
}

void PulsePlayback::OpenStream() {
    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE,
                                static_cast<std::uint32_t>(timing_.sample_rate),
                                static_cast<std::uint8_t>(kChannels)};
    stream_ = pa_stream_new(context_, kStreamName, &format, nullptr);
    if (stream_ == nullptr) {
        listener_.OnLost();
        return;
    }
    pa_stream_set_state_callback(
        stream_,
        [](pa_stream* stream, void* listener) {
            switch (pa_stream_get_state(stream)) {
                case PA_STREAM_READY:
                    ListenerOf(listener).OnReady();
                    break;
                case PA_STREAM_FAILED:
                case PA_STREAM_TERMINATED:
                    ListenerOf(listener).OnLost();
                    break;
                default:
                    break;
            }
        },
        &listener_);
    pa_stream_set_write_callback(
        stream_,
        [](pa_stream* /*stream*/, std::size_t bytes, void* listener) {
            ListenerOf(listener).OnWritable(bytes);
        },
        &listener_);
    pa_stream_set_underflow_callback(
        stream_, [](pa_stream* /*stream*/, void* listener) { ListenerOf(listener).OnUnderflow(); },
        &listener_);
    pa_stream_set_started_callback(
        stream_, [](pa_stream* /*stream*/, void* listener) { ListenerOf(listener).OnStarted(); },
        &listener_);
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
        listener_.OnLost();
    }
}

bool PulsePlayback::Write(
    std::size_t bytes, const std::function<void(float* interleaved, std::size_t frames)>& render) {
    while (bytes >= kFrameBytes) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream_, &data, &size) < 0 || data == nullptr) {
            return false;
        }
        const std::size_t frames = std::min(size, bytes) / kFrameBytes;
        if (frames == 0) {
            pa_stream_cancel_write(stream_);
            return true;  // the server asks again when it has room
        }
        render(static_cast<float*>(data), frames);
        if (pa_stream_write(stream_, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE) <
            0) {
            return false;
        }
        bytes -= frames * kFrameBytes;
    }
    return true;
}

void PulsePlayback::DropQueued() {
    if (pa_operation* flush = pa_stream_flush(stream_, nullptr, nullptr)) {
        pa_operation_unref(flush);
    }
}

}  // namespace tavrola
