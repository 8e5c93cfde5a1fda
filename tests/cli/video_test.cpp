#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "cli/command_line_runner.h"
#include "core/music/midi_output.h"
#include "core/playback/performer.h"
#include "export/export_plan.h"
#include "export/export_run.h"
#include "export/face/translation.h"
#include "export/face/window_face.h"
#include "support/audio_measures.h"
#include "support/desktop_session.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/window/export_sentences.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBases = "gattacagattacagattaca";

// What ffprobe or ffmpeg writes to standard output.
std::string Output(std::vector<std::string> arguments, const fs::path& folder) {
    const fs::path out = folder / ".out";
    arguments.front() = testing::FindOnPath(arguments.front())->string();
    testing::WaitForExit(testing::SpawnProgram(arguments, {}, out, "/dev/null"),
                         std::chrono::seconds(60));
    return testing::ReadWholeFile(out);
}

std::string Probe(const fs::path& file, const std::string& entries, const char* streams = "") {
    return Output({"ffprobe", "-v", "error", "-select_streams", streams, "-show_entries", entries,
                   "-of", "default=noprint_wrappers=1:nokey=1", file.string()},
                  file.parent_path());
}

// The peak of every 10 ms of a file's sound, in one channel.
std::vector<float> Envelope(const fs::path& file) {
    const std::string raw = Output({"ffmpeg", "-v", "error", "-i", file.string(), "-ac", "1", "-ar",
                                    "44100", "-f", "f32le", "-"},
                                   file.parent_path());
    std::vector<float> samples(raw.size() / sizeof(float));
    std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
    return testing::WindowPeaks(samples, 441);
}

double Correlation(const std::vector<float>& a, const std::vector<float>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    double sa = 0, sb = 0, ab = 0, aa = 0, bb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sa += a[i], sb += b[i], ab += a[i] * b[i], aa += a[i] * a[i], bb += b[i] * b[i];
    }
    const double size = static_cast<double>(n);
    return (ab - sa * sb / size) / std::sqrt((aa - sa * sa / size) * (bb - sb * sb / size));
}

double Psnr(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    double squares = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int i = 0; i < x.width() * 3; ++i) {
            const double d = x.constScanLine(row)[i] - y.constScanLine(row)[i];
            squares += d * d;
        }
    }
    const double mean = squares / (static_cast<double>(x.width()) * x.height() * 3);
    return mean == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

QImage FrameAt(const fs::path& video, double seconds) {
    const fs::path png = video.parent_path() / "frame.png";
    Output({"ffmpeg", "-v", "error", "-y", "-ss", std::to_string(seconds), "-i", video.string(),
            "-frames:v", "1", png.string()},
           video.parent_path());
    return QImage(QString::fromStdString(png.string()));
}

// The face after each tick, losslessly, in a language: what the command line loads, played
// again as a video plays it.
std::vector<QImage> FacesAfterTicks(int ticks, UiLanguage language) {
    const std::unique_ptr<QTranslator> translation = InstallTranslation(language);
    UnseenPlaybackView nobody;
    Performer loaded(std::make_unique<SilentMidiOutput>(), nobody);
    loaded.SetAlgorithm(kDefaultAssignmentTable, TimingMode::kEighth, true);
    loaded.InstallSequence(ParseSequenceText(kBases));
    WindowFaceRecorder face;
    Performer played(loaded.Snapshot(), std::make_unique<SilentMidiOutput>(), face);
    played.TogglePlayback();
    std::vector<QImage> faces;
    for (int tick = 0; tick < ticks; ++tick) {
        played.Tick();
        faces.push_back(WindowFaceImage(LoadWindowFaceArt(), face.State(), played.Layer().surface));
    }
    return faces;
}

// The video is the window's face at twice its size, 30 frames a second, changing at the ticks,
// with the audio export's sound, in sync and as long, in both formats; its words are in the
// desktop's language, as the window's are.
TEST(VideoExport, ShowsTheFaceAfterEachTickWithTheAudioExportsSound) {
    if (!testing::FindOnPath("ffmpeg") || !testing::FindOnPath("ffprobe")) {
        GTEST_SKIP() << "ffmpeg is missing (tools/test installs it)";
    }
    const testing::TempFolder folder;
    for (const char* file : {"a.flac", "v.mp4", "v.webm"}) {
        const bool english = std::string_view(file) == "v.webm";
        ASSERT_EQ(testing::RunTavrola(folder.path(),
                                      {"--quiet", "--export", file, "--timing", "eighth", "-"},
                                      kBases, english ? testing::kEnglishRun : testing::kPlainRun)
                      .status,
                  0)
            << file;
    }
    const fs::path sound = folder.path() / "a.flac";
    const std::vector<QImage> japanese = FacesAfterTicks(24, UiLanguage::kJapanese);
    const std::vector<QImage> english = FacesAfterTicks(24, UiLanguage::kEnglish);
    for (const auto& [file, codecs, faces] : {std::tuple{"v.mp4", "h264\naac\n", &japanese},
                                              std::tuple{"v.webm", "vp9\nopus\n", &english}}) {
        const fs::path video = folder.path() / file;
        EXPECT_EQ(Probe(video, "stream=codec_name"), codecs) << file;
        EXPECT_EQ(Probe(video, "stream=width,height,r_frame_rate", "v"), "1098\n1138\n30/1\n")
            << file;
        EXPECT_NEAR(std::stod(Probe(video, "format=duration")),
                    std::stod(Probe(sound, "format=duration")), 1.0 / 30)
            << file << ": as long as the audio export";
        // The other language's words bring this under 25 dB.
        for (const int tick : {0, 5, 17, 23}) {
            EXPECT_GE(Psnr(FrameAt(video, (tick + 0.5) * 0.5), (*faces)[std::size_t(tick)]), 35.0)
                << file << ": the face after tick " << tick;
        }
        EXPECT_GE(Correlation(Envelope(video), Envelope(sound)), 0.9) << file << ": its sound";
    }
}

// The face the video paints is the window's own, pixel for pixel within a rounding.
TEST(VideoExport, PaintsTheFaceTheWindowShows) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi), 60000);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Performer& performer = window.Performance();
    performer.InstallSequence(ParseSequenceText(kBases));
    performer.TogglePlayback();
    for (int tick = 0; tick < 9; ++tick) {
        performer.Tick();
    }
    window.Buttons().PresentImageButtons();
    WindowFaceState state{{true, false, true, false, false, true}, kStopLabel, {}};
    for (const VoiceLabel label : {VoiceLabel::kRightBase, VoiceLabel::kLeftBase,
                                   VoiceLabel::kRightPitch, VoiceLabel::kLeftPitch}) {
        state.voice_labels[static_cast<std::size_t>(label)] = performer.VoiceLabelText(label);
    }
    QImage painted(window.size(), QImage::Format_RGB32);
    QPainter painter(&painted);
    PaintWindowFace(painter, LoadWindowFaceArt(), state, performer.Layer().surface);
    painter.end();
    EXPECT_GE(Psnr(painted, window.grab().toImage()), 40.0);
}

// A disk that fills up under a video leaves nothing behind: no video, no part of one, no sound
// beside it.
TEST(VideoExport, AFullDiskLeavesNothing) {
    if (!testing::FindOnPath("ffmpeg") || !testing::FindOnPath("unshare") || ::geteuid() != 0) {
        GTEST_SKIP() << "needs ffmpeg, and root for a small disk of the test's own";
    }
    const testing::TempFolder folder;
    folder.Write("short.txt", kBases);
    // Room for the estimate on a disk of its own, filled up once the video has begun.
    fs::create_directory(folder.path() / "disk");
    EXPECT_EQ(testing::RunProgram(
                  {testing::FindOnPath("unshare")->string(), "-m", "sh", "-c",
                   "cd \"$1\" && mount -t tmpfs -o size=48m tavrola-test disk && cd disk || "
                   "exit 99; \"$0\" --quiet --export v.mp4 --timing eighth ../short.txt & p=$!; "
                   "until ls -A | grep -q part; do sleep 0.05; done; dd if=/dev/zero of=filler "
                   "bs=1M 2>/dev/null; wait $p; s=$?; rm filler; ls -A > ../left.txt; exit $s",
                   TAVROLA_EXECUTABLE, folder.path().string()},
                  {}, "/dev/null"),
              3)
        << "a full disk is an output failure";
    EXPECT_EQ(testing::NamesIn(folder.path()),
              (std::vector<std::string>{"disk", "left.txt", "short.txt"}));
    EXPECT_EQ(fs::file_size(folder.path() / "left.txt"), 0U) << "nothing left on the full disk";
}

// An encoder that fails says why in the window's sentence; one that takes no picture for its
// patience is ended, with a sentence of its own. Neither leaves a file.
TEST(VideoExport, AnEncoderThatFailsOrHangsEndsItWithASentence) {
    struct Case {
        const char* encoder;  // the script that stands in for ffmpeg
        EncoderTrouble trouble;
        const char* said;
    };
    const Case cases[] = {
        {"echo 'Conversion failed!' >&2; exit 1", EncoderTrouble::kFailed, "Conversion failed!"},
        {"exec sleep 60", EncoderTrouble::kStalled, ""},
    };
    const QByteArray path = qgetenv("PATH");
    for (const Case& c : cases) {
        const testing::TempFolder folder;
        fs::create_directory(folder.path() / "bin");
        fs::permissions(folder.Write("bin/ffmpeg", std::string("#!/bin/sh\n") + c.encoder),
                        fs::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString((folder.path() / "bin").string()) + ':' + path);
        UnseenPlaybackView nobody;
        Performer performer(std::make_unique<SilentMidiOutput>(), nobody);
        performer.InstallSequence(ParseSequenceText(kBases));
        ExportPlan plan;
        ASSERT_TRUE(PrepareExport(performer.Snapshot(), *ExportFormatOfFile("v.mp4"),
                                  folder.path() / "v.mp4", ExistingFile::kKeep, plan)
                        .Succeeded());
        qputenv("PATH", path);
        plan.video->encoder_patience = std::chrono::seconds(1);
        WorkProgress progress;
        const ExportOutcome outcome = RunExport(plan, progress);
        EXPECT_EQ(outcome.encoder, c.trouble) << c.encoder;
        EXPECT_EQ(outcome.encoder_said, c.said) << c.encoder;
        EXPECT_NE(ExportFailureSentence(outcome).find(c.said), std::string::npos) << c.encoder;
        EXPECT_EQ(testing::NamesIn(folder.path()), (std::vector<std::string>{"bin", "bin/ffmpeg"}))
            << c.encoder;
    }
}

}  // namespace
}  // namespace tavrola
