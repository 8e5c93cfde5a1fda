#include "ui/video/video_export.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cmath>
#include <memory>

#include "audio/export/audio_file_writer.h"
#include "core/music/midi_output.h"
#include "core/playback/performer.h"
#include "ui/dialogs/file_chooser.h"

namespace tavrola {
namespace {

// One picture a tick goes to the encoder, which repeats it up to 30 frames a second.
constexpr int kPicturesPerSecond = 2;
constexpr int kEncoderWaitMs = 100;
// How much of the whole each stage takes, roughly: encoding the picture is most of it.
constexpr double kWorkedOut = 0.01;
constexpr double kSoundRendered = 0.1;

QString Kilobits(std::int64_t bits_per_second) {
    return QString::number(bits_per_second / 1000) + u'k';
}

QStringList EncoderArguments(VideoFileType type, const std::filesystem::path& sound,
                             const std::filesystem::path& output, double seconds, QSize size) {
    QStringList arguments = {
        QStringLiteral("-hide_banner"), QStringLiteral("-nostats"), QStringLiteral("-loglevel"),
        QStringLiteral("error"), QStringLiteral("-y"),
        // The pictures, one a tick, in the window's pixel format (0xffRRGGBB, little-endian).
        QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
        QStringLiteral("bgr0"), QStringLiteral("-video_size"),
        QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), QStringLiteral("-framerate"),
        QString::number(kPicturesPerSecond), QStringLiteral("-i"), QStringLiteral("pipe:0"),
        QStringLiteral("-f"), QStringLiteral("flac"), QStringLiteral("-i"), FromFilePath(sound),
        QStringLiteral("-map"), QStringLiteral("0:v:0"), QStringLiteral("-map"),
        QStringLiteral("1:a:0"), QStringLiteral("-r"), QString::number(kVideoFramesPerSecond),
        // Every frame written, repeated pictures too, in either container.
        QStringLiteral("-fps_mode"), QStringLiteral("cfr"), QStringLiteral("-t"),
        QString::number(seconds, 'f', 6), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p")};
    const QString cap = Kilobits(kVideoPictureBitsPerSecondCap);
    const QString sound_rate = Kilobits(kVideoSoundBitsPerSecond);
    if (type == VideoFileType::kMp4) {
        // H.264 and AAC, the index first: plays in browsers, presentation software and phones.
        arguments << QStringLiteral("-c:v") << QStringLiteral("libx264")
                  << QStringLiteral("-preset") << QStringLiteral("veryfast")
                  << QStringLiteral("-crf") << QStringLiteral("20") << QStringLiteral("-maxrate")
                  << cap << QStringLiteral("-bufsize")
                  << Kilobits(2 * kVideoPictureBitsPerSecondCap) << QStringLiteral("-c:a")
                  << QStringLiteral("aac") << QStringLiteral("-b:a") << sound_rate
                  << QStringLiteral("-movflags") << QStringLiteral("+faststart")
                  << QStringLiteral("-f") << QStringLiteral("mp4");
    } else {
        // VP9 at its quickest and Opus; the picture's rate is capped as MP4's is.
        arguments << QStringLiteral("-c:v") << QStringLiteral("libvpx-vp9")
                  << QStringLiteral("-deadline") << QStringLiteral("realtime")
                  << QStringLiteral("-cpu-used") << QStringLiteral("8") << QStringLiteral("-crf")
                  << QStringLiteral("32") << QStringLiteral("-b:v") << cap << QStringLiteral("-c:a")
                  << QStringLiteral("libopus") << QStringLiteral("-b:a") << sound_rate
                  << QStringLiteral("-f") << QStringLiteral("webm");
    }
    arguments << FromFilePath(output);
    return arguments;
}

// The encoder as a child process: stopped and waited for however the export ends.
class Encoder {
  public:
    Encoder(const std::filesystem::path& program, std::chrono::milliseconds patience,
            std::string& last_words)
        : patience_(patience), last_words_(last_words) {
        process_.setProgram(FromFilePath(program));
        process_.setStandardOutputFile(QProcess::nullDevice());
    }
    ~Encoder() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(-1);
        }
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool Start(const QStringList& arguments) {
        process_.setArguments(arguments);
        process_.start();
        return process_.waitForStarted(-1);
    }
    // Hands one picture over, waiting while the encoder is behind; how it went: the encoder
    // failed, or took nothing for as long as its patience (then it is ended), or the export
    // was cancelled.
    ExportResult Feed(const QImage& picture, const WorkProgress& progress) {
        process_.write(reinterpret_cast<const char*>(picture.constBits()),
                       static_cast<qint64>(picture.sizeInBytes()));
        QElapsedTimer since_taken;
        since_taken.start();
        for (qint64 waiting = process_.bytesToWrite(); waiting > 0;) {
            if (progress.Cancelled()) {
                return ExportResult::kCancelled;
            }
            if (process_.state() == QProcess::NotRunning) {
                return Failure();
            }
            if (since_taken.elapsed() >= patience_.count()) {
                process_.kill();
                process_.waitForFinished(-1);
                return ExportResult::kEncoderStalled;
            }
            process_.waitForBytesWritten(kEncoderWaitMs);
            if (process_.bytesToWrite() < waiting) {
                waiting = process_.bytesToWrite();
                since_taken.restart();
            }
        }
        return ExportResult::kSuccess;
    }
    // Ends the pictures and waits for the file; how the encoder ended.
    ExportResult Finish(const WorkProgress& progress) {
        process_.closeWriteChannel();
        while (!process_.waitForFinished(kEncoderWaitMs)) {
            if (progress.Cancelled()) {
                return ExportResult::kCancelled;
            }
        }
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0
                   ? ExportResult::kSuccess
                   : Failure();
    }

  private:
    // Why the encoder failed, from the last line it said.
    ExportResult Failure() {
        process_.waitForFinished(kEncoderWaitMs);
        const QList<QByteArray> lines = process_.readAllStandardError().trimmed().split('\n');
        last_words_ = lines.back().trimmed().toStdString();
        return last_words_.find("No space left") != std::string::npos
                   ? ExportResult::kDiskFull
                   : ExportResult::kEncoderFailed;
    }

    QProcess process_;
    const std::chrono::milliseconds patience_;
    std::string& last_words_;
};

}  // namespace

std::optional<std::filesystem::path> FindVideoEncoder() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (found.isEmpty()) {
        return std::nullopt;
    }
    return ToFilePath(found);
}

ExportResult ExportVideo(const VideoSource& source, FileBesideTarget& video,
                         FileBesideTarget& soundtrack, WorkProgress& progress,
                         std::string& encoder_said) {
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

    // The performance again, drawn this time, as the window would show it.
    WindowFaceState start;
    start.voice_labels = snapshot.voice_labels;
    WindowFaceRecorder face(start);
    Performer performer(snapshot, std::make_unique<SilentMidiOutput>(), face);
    performer.TogglePlayback();
    performer.Tick();
    QImage picture = WindowFaceImage(source.art, face.State(), performer.Layer().surface);

    Encoder encoder(source.encoder, source.encoder_patience, encoder_said);
    if (!encoder.Start(EncoderArguments(source.type, soundtrack.temporary_path(),
                                        video.temporary_path(), seconds, picture.size()))) {
        return ExportResult::kNoVideoEncoder;
    }
    const ProgressStage pictures{&progress, kSoundRendered, 1.0};
    const auto count = static_cast<std::int64_t>(std::ceil(seconds * kPicturesPerSecond));
    for (std::int64_t tick = 0; tick < count; ++tick) {
        if (tick > 0 && performer.State().playing) {
            performer.Tick();
            picture = WindowFaceImage(source.art, face.State(), performer.Layer().surface);
        }
        if (const ExportResult fed = encoder.Feed(picture, progress);
            fed != ExportResult::kSuccess) {
            return fed;
        }
        pictures.Advance(static_cast<double>(tick + 1) / static_cast<double>(count));
    }
    if (const ExportResult encoded = encoder.Finish(progress); encoded != ExportResult::kSuccess) {
        return encoded;
    }
    return progress.Cancelled() ? ExportResult::kCancelled : video.Commit();
}

}  // namespace tavrola
