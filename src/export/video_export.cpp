#include "export/video_export.h"

#include <QImage>
#include <cmath>
#include <memory>

#include "audio/export/audio_file_writer.h"
#include "core/music/midi_output.h"
#include "core/playback/performer.h"
#include "export/video_encoder.h"

namespace tavrola {
namespace {

// How much of the whole each stage takes, roughly: encoding the picture is most of it.
constexpr double kWorkedOut = 0.01;
constexpr double kSoundRendered = 0.1;

// The performance played again, drawn this time as the window would show it: the face painted
// after every tick, fed to the encoder with the sound until the sound ends.
ExportOutcome EncodePictures(const VideoSource& source, const FileBesideTarget& soundtrack,
                             const FileBesideTarget& video, double seconds,
                             WorkProgress& progress) {
    WindowFaceState start;
    start.voice_labels = source.snapshot.voice_labels;
    WindowFaceRecorder face(start);
    Performer performer(source.snapshot, std::make_unique<SilentMidiOutput>(), face);
    performer.TogglePlayback();
    performer.Tick();
    QImage picture = WindowFaceImage(source.art, face.State(), performer.Layer().surface);

    VideoEncoder encoder(source.encoder, source.encoder_patience);
    if (!encoder.Start(VideoEncoderArguments(source.type, soundtrack.temporary_path(),
                                             video.temporary_path(), seconds, picture.size()))) {
        return {EncoderTrouble::kMissing, {}};
    }
    const ProgressStage pictures{&progress, kSoundRendered, 1.0};
    const auto count = static_cast<std::int64_t>(std::ceil(seconds * kVideoPicturesPerSecond));
    for (std::int64_t tick = 0; tick < count; ++tick) {
        if (tick > 0 && performer.State().playing) {
            performer.Tick();
            picture = WindowFaceImage(source.art, face.State(), performer.Layer().surface);
        }
        if (ExportOutcome fed = encoder.Feed(picture, progress); !fed.Succeeded()) {
            return fed;
        }
        pictures.Advance(static_cast<double>(tick + 1) / static_cast<double>(count));
    }
    return encoder.Finish(progress);
}

}  // namespace

ExportOutcome ExportVideo(const VideoSource& source, FileBesideTarget& video,
                          FileBesideTarget& soundtrack, WorkProgress& progress) {
    const PerformanceSnapshot& snapshot = source.snapshot;
    const std::optional<SimulatedPerformance> performance =
        SimulatePerformance(snapshot.state, snapshot.spheres, snapshot.random,
                            ProgressStage{&progress, 0.0, kWorkedOut});
    if (!performance) {
        return ExportResult::kCancelled;
    }
    const ExportFormat format{ExportKind::kVideo, AudioFileType::kFlac, source.type};
    if (const ExportResult fits =
            CheckExportFits(format, performance->stop_tick, video.final_target().parent_path());
        fits != ExportResult::kSuccess) {
        return fits;
    }
    std::int64_t sound_frames = 0;
    if (const ExportResult sound =
            EncodeAudioFile(*performance, AudioFileType::kFlac, soundtrack.descriptor(),
                            ProgressStage{&progress, kWorkedOut, kSoundRendered}, &sound_frames);
        sound != ExportResult::kSuccess) {
        return sound;
    }
    const double seconds =
        static_cast<double>(sound_frames) / AudioExportSampleRate(AudioFileType::kFlac);
    if (ExportOutcome encoded = EncodePictures(source, soundtrack, video, seconds, progress);
        !encoded.Succeeded()) {
        return encoded;
    }
    return progress.Cancelled() ? ExportResult::kCancelled : video.Commit();
}

}  // namespace tavrola
