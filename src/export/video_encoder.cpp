#include "export/video_encoder.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QStandardPaths>
#include <QString>
#include <string>

#include "export/file_names.h"

namespace tavrola {
namespace {

// How long one wait for the encoder lasts before the cancel is looked at again.
constexpr int kEncoderWaitMs = 100;

QString Kilobits(std::int64_t bits_per_second) {
    return QString::number(bits_per_second / 1000) + u'k';
}

}  // namespace

std::optional<std::filesystem::path> FindVideoEncoder() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (found.isEmpty()) {
        return std::nullopt;
    }
    return ToFilePath(found);
}

QStringList VideoEncoderArguments(VideoFileType type, const std::filesystem::path& sound,
                                  const std::filesystem::path& output, double seconds, QSize size) {
    QStringList arguments = {
        QStringLiteral("-hide_banner"), QStringLiteral("-nostats"), QStringLiteral("-loglevel"),
        QStringLiteral("error"), QStringLiteral("-y"),
        // The pictures, one a tick, in the window's pixel format (0xffRRGGBB, little-endian).
        QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
        QStringLiteral("bgr0"), QStringLiteral("-video_size"),
        QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), QStringLiteral("-framerate"),
        QString::number(kVideoPicturesPerSecond), QStringLiteral("-i"), QStringLiteral("pipe:0"),
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

VideoEncoder::VideoEncoder(const std::filesystem::path& program, std::chrono::milliseconds patience)
    : patience_(patience) {
    process_.setProgram(FromFilePath(program));
    process_.setStandardOutputFile(QProcess::nullDevice());
}

VideoEncoder::~VideoEncoder() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(-1);
    }
}

bool VideoEncoder::Start(const QStringList& arguments) {
    process_.setArguments(arguments);
    process_.start();
    return process_.waitForStarted(-1);
}

ExportOutcome VideoEncoder::Feed(const QImage& picture, const WorkProgress& progress) {
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
            return {EncoderTrouble::kStalled, {}};
        }
        process_.waitForBytesWritten(kEncoderWaitMs);
        if (process_.bytesToWrite() < waiting) {
            waiting = process_.bytesToWrite();
            since_taken.restart();
        }
    }
    return {};
}

ExportOutcome VideoEncoder::Finish(const WorkProgress& progress) {
    process_.closeWriteChannel();
    while (!process_.waitForFinished(kEncoderWaitMs)) {
        if (progress.Cancelled()) {
            return ExportResult::kCancelled;
        }
    }
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0
               ? ExportOutcome{}
               : Failure();
}

ExportOutcome VideoEncoder::Failure() {
    process_.waitForFinished(kEncoderWaitMs);
    const QList<QByteArray> lines = process_.readAllStandardError().trimmed().split('\n');
    std::string said = lines.back().trimmed().toStdString();
    if (said.find("No space left") != std::string::npos) {
        return ExportResult::kDiskFull;
    }
    return {EncoderTrouble::kFailed, std::move(said)};
}

}  // namespace tavrola
