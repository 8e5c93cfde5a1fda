#pragma once

#include <cstddef>
#include <functional>

struct pa_context;
struct pa_mainloop_api;
struct pa_stream;

namespace tavrola {

struct StreamTiming;

// What a playback connection reports, on its main loop's thread.
class PlaybackListener {
  public:
    virtual ~PlaybackListener() = default;
    // The server took the stream: it will ask for sound.
    virtual void OnReady() = 0;
    // The server began playing the stream, first or again after running out of sound.
    virtual void OnStarted() = 0;
    // The connection or the stream failed; the owner ends the connection.
    virtual void OnLost() = 0;
    // The server has room for `bytes` more.
    virtual void OnWritable(std::size_t bytes) = 0;
    // The server ran out of sound.
    virtual void OnUnderflow() = 0;
};

// One connection to the sound server (PulseAudio, or PipeWire's PulseAudio service) with one
// stereo float playback stream: the constructor connects, the destructor closes both. A
// connection that cannot even start reports OnLost at once. Never spawns a server.
class PulsePlayback {
  public:
    PulsePlayback(pa_mainloop_api* api, const StreamTiming& timing, PlaybackListener& listener);
    ~PulsePlayback();
    PulsePlayback(const PulsePlayback&) = delete;
    PulsePlayback& operator=(const PulsePlayback&) = delete;

    // Fills `bytes` of the server's room with what `render` writes, frame by frame into the
    // server's own memory; false when the stream failed.
    bool Write(std::size_t bytes,
               const std::function<void(float* interleaved, std::size_t frames)>& render);
    // Drops what is queued in the server and not yet played.
    void DropQueued();

  private:
    void OpenStream();

    const StreamTiming& timing_;
    PlaybackListener& listener_;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
};

}  // namespace tavrola
