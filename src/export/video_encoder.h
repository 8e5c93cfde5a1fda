#pragma once

#include <QProcess>
#include <QSize>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <optional>

#include "core/services/work_progress.h"
#include "export/export_format.h"
#include "export/export_outcome.h"

class QImage;

namespace tavrola {

// A video runs at a constant 30 frames a second; its picture changes only at the timer's ticks,
// two a second, as on screen: one picture a tick goes to the encoder, which repeats it.
inline constexpr int kVideoFramesPerSecond = 30;
inline constexpr int kVideoPicturesPerSecond = 2;

// Debian's ffmpeg program, where it is on PATH: the encoder, fed raw pictures through a pipe.
std::optional<std::filesystem::path> FindVideoEncoder();

// What the encoder is told: the pictures on its standard input, one a tick, of `size` in the
// window's pixel format; the sound from the FLAC file `sound`; the video into `output` as
// `type`, `seconds` long.
QStringList VideoEncoderArguments(VideoFileType type, const std::filesystem::path& sound,
                                  const std::filesystem::path& output, double seconds, QSize size);

// The encoder as a child process, stopped and waited for however the export ends. An encoder
// that takes nothing for as long as its patience is taken to hang, and ended.
class VideoEncoder {
  public:
    VideoEncoder(const std::filesystem::path& program, std::chrono::milliseconds patience);
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    bool Start(const QStringList& arguments);
    // Hands one picture over, waiting while the encoder is behind: a success, a cancel, or what
    // the encoder did (it failed, saying why, or it hung).
    ExportOutcome Feed(const QImage& picture, const WorkProgress& progress);
    // Ends the pictures and waits for the file; how the encoder ended.
    ExportOutcome Finish(const WorkProgress& progress);

  private:
    // Why the encoder failed, from the last line it said.
    ExportOutcome Failure();

    QProcess process_;
    const std::chrono::milliseconds patience_;
};

}  // namespace tavrola
