#include <gtest/gtest.h>
#include <signal.h>

#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "cli/command_line_runner.h"
#include "core/music/midi_output.h"
#include "core/playback/performer.h"
#include "support/desktop_session.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/window/main_window.h"
#include "ui/window/window_face.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBases = "gattacagattacagattaca";

// What a program (ffprobe, ffmpeg) wrote to standard output.
std::string Output(std::vector<std::string> arguments, const fs::path& folder) {
    const fs::path out = folder / ".out";
    arguments.front() = testing::FindOnPath(arguments.front())->string();
    const pid_t pid = testing::SpawnProgram(arguments, {}, out, "/dev/null");
    testing::WaitForExit(pid, std::chrono::seconds(60));
    std::ifstream in(out, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    fs::remove(out);
    return text;
}

std::string Probe(const fs::path& file, const std::string& entries, const fs::path& folder) {
    return Output({"ffprobe", "-v", "error", "-show_entries", entries, "-of",
                   "default=noprint_wrappers=1", file.string()},
                  folder);
}

// The peak of every 10 ms of a file's sound, mixed to one channel.
std::vector<float> Envelope(const fs::path& file, const fs::path& folder) {
    const std::string raw = Output({"ffmpeg", "-v", "error", "-i", file.string(), "-ac", "1", "-ar",
                                    "44100", "-f", "f32le", "-"},
                                   folder);
    std::vector<float> samples(raw.size() / sizeof(float));
    std::memcpy(samples.data(), raw.data(), samples.size() * sizeof(float));
    std::vector<float> peaks;
    for (std::size_t at = 0; at + 441 <= samples.size(); at += 441) {
        float peak = 0;
        for (std::size_t i = at; i < at + 441; ++i) {
            peak = std::max(peak, std::fabs(samples[i]));
        }
        peaks.push_back(peak);
    }
    return peaks;
}

double Correlation(std::vector<float> a, std::vector<float> b) {
    const std::size_t n = std::min(a.size(), b.size());
    a.resize(n);
    b.resize(n);
    const double mean_a = std::accumulate(a.begin(), a.end(), 0.0) / static_cast<double>(n);
    const double mean_b = std::accumulate(b.begin(), b.end(), 0.0) / static_cast<double>(n);
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ab += (a[i] - mean_a) * (b[i] - mean_b);
        aa += (a[i] - mean_a) * (a[i] - mean_a);
        bb += (b[i] - mean_b) * (b[i] - mean_b);
    }
    return ab / std::sqrt(aa * bb);
}

// Peak signal-to-noise ratio of two pictures of one size, over their red, green and blue.
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

// The frame a video shows at `seconds`.
QImage FrameAt(const fs::path& video, double seconds, const fs::path& folder) {
    const fs::path png = folder / "frame.png";
    Output({"ffmpeg", "-v", "error", "-y", "-ss", std::to_string(seconds), "-i", video.string(),
            "-frames:v", "1", png.string()},
           folder);
    QImage frame(QString::fromStdString(png.string()));
    fs::remove(png);
    return frame;
}

// The face after every tick, losslessly: the performance the command line plays, played again
// as the video plays it.
std::vector<QImage> FacesAfterTicks(int ticks) {
    UnseenPlaybackView nobody;
    Performer loaded(std::make_unique<SilentMidiOutput>(), nobody);
    loaded.SetAlgorithm(kDefaultAssignmentTable, TimingMode::kEighth, true);
    loaded.InstallSequence(ParseSequenceText(kBases));
    WindowFaceRecorder face;
    Performer played(loaded.Snapshot(), std::make_unique<SilentMidiOutput>(), face);
    played.TogglePlayback();
    const WindowFaceArt art = LoadWindowFaceArt();
    std::vector<QImage> faces;
    for (int tick = 0; tick < ticks; ++tick) {
        played.Tick();
        faces.push_back(WindowFaceImage(art, face.State(), played.Layer().surface));
    }
    return faces;
}

// The video is the window's face at twice its size, 30 frames a second, changing at the ticks,
// with the audio export's sound in sync and of its length, in both formats.
TEST(VideoExport, ShowsTheFaceAfterEachTickWithTheAudioExportsSound) {
    if (!testing::FindOnPath("ffmpeg") || !testing::FindOnPath("ffprobe")) {
        GTEST_SKIP() << "ffmpeg is missing (tools/test installs it)";
    }
    const testing::TempFolder folder;
    const std::vector<std::string> options = {"--quiet", "--timing", "eighth", "-"};
    for (const char* file : {"a.flac", "v.mp4", "v.webm"}) {
        std::vector<std::string> arguments = {"--export", file};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ASSERT_EQ(testing::RunTavrola(folder.path(), arguments, kBases).status, 0) << file;
    }
    const double seconds =
        std::stod(Probe(folder.path() / "a.flac", "format=duration", folder.path()).substr(9));
    const std::vector<QImage> faces = FacesAfterTicks(24);
    for (const auto& [file, codecs] : {std::pair{"v.mp4", "codec_name=h264\ncodec_name=aac\n"},
                                       std::pair{"v.webm", "codec_name=vp9\ncodec_name=opus\n"}}) {
        const fs::path video = folder.path() / file;
        EXPECT_EQ(Probe(video, "stream=codec_name", folder.path()), codecs) << file;
        EXPECT_EQ(Probe(video, "stream=width,height,r_frame_rate", folder.path())
                      .rfind("width=1098\nheight=1138\nr_frame_rate=30/1\n", 0),
                  0U)
            << file;
        const double length = std::stod(Probe(video, "format=duration", folder.path()).substr(9));
        EXPECT_NEAR(length, seconds, 1.0 / 30) << file << ": as long as the audio export";
        for (const int tick : {0, 5, 17, 23}) {
            const QImage frame = FrameAt(video, (tick + 0.5) * 0.5, folder.path());
            ASSERT_EQ(frame.size(), faces[static_cast<std::size_t>(tick)].size()) << file;
            EXPECT_GE(Psnr(frame, faces[static_cast<std::size_t>(tick)]), 35.0)
                << file << ": the face after tick " << tick;
        }
        EXPECT_GE(Correlation(Envelope(video, folder.path()),
                              Envelope(folder.path() / "a.flac", folder.path())),
                  0.9)
            << file << ": the sound follows the audio export";
    }
}

// The face the video paints is the window's own: the same pixels as the window on screen.
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
    WindowFaceState state;
    for (const int key : {kDataButtonKey, kInstrumentButtonKey, kAlgorithmButtonKey}) {
        state.enabled[static_cast<std::size_t>(key)] = false;
    }
    state.start_label = kStopLabel;
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

// A cancel (a signal here) and a disk that fills up leave nothing behind: no video, no part of
// one, no sound beside it.
TEST(VideoExport, ASignalOrAFullDiskLeavesNothing) {
    if (!testing::FindOnPath("ffmpeg") || !testing::FindOnPath("unshare") || ::geteuid() != 0) {
        GTEST_SKIP() << "needs ffmpeg, and root for a small disk of the test's own";
    }
    const testing::TempFolder folder;
    folder.Write("long.txt", std::string(400, 'g'));
    const pid_t pid = testing::SpawnInFolder(
        folder.path(), {TAVROLA_EXECUTABLE, "--quiet", "--export", "long.mp4", "long.txt"},
        {"DISPLAY="}, "/dev/null");
    bool encoding = false;
    for (int waited = 0; waited < 600 && !encoding; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder.path(), error)) {
            encoding = encoding || (entry.path().string().ends_with(".part") &&
                                    entry.path().string().find("soundtrack") == std::string::npos &&
                                    fs::file_size(entry.path(), error) > 0);
        }
    }
    ASSERT_TRUE(encoding) << "the video never began";
    ::kill(pid, SIGTERM);
    EXPECT_EQ(testing::WaitForExit(pid, std::chrono::seconds(10)), 143);
    // A disk with room for the estimate that fills up once the video has begun.
    folder.Write("short.txt", kBases);
    const fs::path disk = folder.path() / "disk";
    fs::create_directory(disk);
    const int status = testing::RunProgram(
        {testing::FindOnPath("unshare")->string(), "-m", "sh", "-c",
         "mount -t tmpfs -o size=48m tavrola-test \"$0\" && cd \"$0\" || exit 99; "
         "\"$1\" --quiet --export v.mp4 --timing eighth ../short.txt & p=$!; "
         "until ls -A | grep -q part; do sleep 0.05; done; "
         "dd if=/dev/zero of=filler bs=1M 2>/dev/null; wait $p; s=$?; "
         "rm filler; ls -A > ../left.txt; exit $s",
         disk.string(), TAVROLA_EXECUTABLE},
        {}, "/dev/null");
    EXPECT_EQ(status, 3) << "a full disk is an output failure";
    std::ifstream left(folder.path() / "left.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(left), {}), "")
        << "nothing of the video or its sound on the full disk";
    fs::remove(folder.path() / "left.txt");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"disk", "long.txt", "short.txt"}))
        << "nothing left after the signal";
}

}  // namespace
}  // namespace tavrola
