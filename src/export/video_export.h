#pragma once

#include <chrono>
#include <filesystem>

#include "audio/export/file_beside_target.h"
#include "core/playback/performance_simulation.h"
#include "core/services/work_progress.h"
#include "export/export_format.h"
#include "export/export_outcome.h"
#include "export/face/window_face.h"

namespace tavrola {

// An encoder that takes no picture for this long is taken to hang, and ended.
inline constexpr std::chrono::milliseconds kEncoderPatience{30'000};

// What a video export works from: the performance, the window's face art (loaded on the GUI
// thread) and the encoder.
struct VideoSource {
    PerformanceSnapshot snapshot;
    VideoFileType type = VideoFileType::kMp4;
    WindowFaceArt art;
    std::filesystem::path encoder;
    std::chrono::milliseconds encoder_patience = kEncoderPatience;
};

// The whole video on the calling thread (a worker's): works out the performance, renders its
// sound as FLAC into `soundtrack` (made beside the video, never committed), plays the
// performance again on a performer of its own, painting the window's face after every tick,
// and feeds the faces and the sound to the encoder, which writes `video` in `type`; then
// commits `video`. Progress and cancel as every export's; a cancel stops the encoder.
ExportOutcome ExportVideo(const VideoSource& source, FileBesideTarget& video,
                          FileBesideTarget& soundtrack, WorkProgress& progress);

}  // namespace tavrola
