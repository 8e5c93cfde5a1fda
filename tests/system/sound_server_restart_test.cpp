// The sound server is stalled when the program starts: the window comes at once, says after a
// while that no device answers, and the notes are heard once the server thaws. Then the server
// goes away in mid-performance, as in a crash, and a new one starts on the same socket: the real
// program plays on without it, helix and all, and its notes are heard again within two seconds
// of the server's return, with no restart and no message box.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "support/audio_measures.h"
#include "support/button_centre.h"
#include "support/desktop_session.h"
#include "support/headless_pulse.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

using testing::HeadlessPulse;
using testing::MonitorRecording;
using testing::VirtualDesktop;

constexpr float kAudible = 0.02F;  // -34 dBFS
constexpr double kReturnLimitSeconds = 2.0;
constexpr double kWindowLimitSeconds = 5.0;

// The ids of the visible windows of exactly this title, oldest first.
std::vector<std::string> VisibleWindows(const VirtualDesktop& desktop, const std::string& title,
                                        const std::filesystem::path& folder) {
    const std::filesystem::path ids = folder / "windows.txt";
    const pid_t pid =
        testing::SpawnProgram({testing::FindOnPath("xdotool")->string(), "search", "--onlyvisible",
                               "--name", "^" + title + "$"},
                              {desktop.DisplayVariable()}, ids, folder / "xdotool.log");
    if (pid > 0) {
        ::waitpid(pid, nullptr, 0);
    }
    std::vector<std::string> windows;
    std::ifstream in(ids);
    for (std::string id; std::getline(in, id);) {
        windows.push_back(id);
    }
    return windows;
}

// Ends the program when the test leaves early.
struct ProgramUnderTest {
    pid_t pid = -1;
    ~ProgramUnderTest() {
        if (pid > 0 && !testing::WaitForExit(pid, std::chrono::milliseconds(0))) {
            testing::StopProgram(pid, SIGKILL);
        }
    }
};

// Seconds into the recording of its first clearly audible sample, or nothing.
std::optional<double> FirstAudible(std::span<const float> samples) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] > kAudible || samples[i] < -kAudible) {
            return static_cast<double>(i) / MonitorRecording::kRate;
        }
    }
    return std::nullopt;
}

TEST(SoundServerRestart, AStalledServerHoldsNothingBackAndNotesAreHeardAgainAfterItsReturn) {
    if (!VirtualDesktop::IsInstalled() || !HeadlessPulse::IsInstalled()) {
        GTEST_SKIP() << "Xvfb, xdotool, ImageMagick or PulseAudio is missing "
                        "(tools/test installs them)";
    }
    const std::filesystem::path folder =
        std::filesystem::path(TAVROLA_TEST_OUTPUT_DIR) / "SoundServerRestart";
    std::filesystem::create_directories(folder);
    VirtualDesktop desktop(folder);
    ASSERT_TRUE(desktop.running()) << testing::ReadWholeFile(folder / "x.log");
    HeadlessPulse server;
    ASSERT_TRUE(server.running()) << server.Log();
    auto recording = std::make_unique<MonitorRecording>(server);
    ASSERT_TRUE(recording->live());

    std::vector<std::string> environment = server.environment();
    environment.push_back(desktop.DisplayVariable());
    environment.push_back("QT_QPA_PLATFORM=xcb");
    const std::filesystem::path log = folder / "program.log";
    server.Freeze();
    const auto started = std::chrono::steady_clock::now();
    ProgramUnderTest program{
        testing::SpawnInFolder(folder, {TAVROLA_EXECUTABLE}, environment, log)};
    const pid_t pid = program.pid;
    ASSERT_GT(pid, 0);
    const bool shown = desktop.FocusWindow("Tavrola");
    const double seconds_to_window =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_TRUE(shown) << testing::ReadWholeFile(log);
    EXPECT_LT(seconds_to_window, kWindowLimitSeconds) << "the stalled server held the window back";
    // No MIDI port here either: the message says so over the window once the server has had
    // its time; then the thawed server plays the notes by itself.
    const std::vector<std::string> main_window = VisibleWindows(desktop, "Tavrola", folder);
    std::vector<std::string> windows = main_window;
    for (int waited = 0; waited < 100 && windows.size() < 2; ++waited) {
        VirtualDesktop::Pause(100);
        windows = VisibleWindows(desktop, "Tavrola", folder);
    }
    server.Thaw();
    ASSERT_EQ(windows.size(), 2U) << "no message over the window";
    ASSERT_EQ(main_window.size(), 1U);
    const std::string box = windows[0] == main_window[0] ? windows[1] : windows[0];
    desktop.Xdo({"windowfocus", "--sync", box});
    desktop.Keys({"Return"});
    ASSERT_TRUE(desktop.FocusWindow("Tavrola")) << testing::ReadWholeFile(log);
    const auto click = [&desktop](CommandKey key) { testing::ClickButton(desktop, key); };

    // A long sequence on the default instruments, whose pad holds each note to the next.
    click(kDataButtonKey);
    ASSERT_TRUE(desktop.FocusWindow("Data"));
    desktop.Keys({"Tab"});
    desktop.Type("gattacagcatcgattacagcatcgattacagcatcgattacagcatc");
    desktop.Keys({"Return"});
    VirtualDesktop::Pause(500);
    click(kStartButtonKey);
    VirtualDesktop::Pause(4000);
    EXPECT_TRUE(FirstAudible(recording->Stop()).has_value()) << "nothing was heard before";

    server.Kill();
    VirtualDesktop::Pause(500);
    ASSERT_TRUE(desktop.Screenshot(folder / "without_server_1.rgb"));
    VirtualDesktop::Pause(1000);
    ASSERT_TRUE(desktop.Screenshot(folder / "without_server_2.rgb"));
    EXPECT_FALSE(testing::WaitForExit(pid, std::chrono::milliseconds(0)).has_value())
        << "the program ended with the server:\n"
        << testing::ReadWholeFile(log);
    EXPECT_NE(testing::ReadWholeFile(folder / "without_server_1.rgb"),
              testing::ReadWholeFile(folder / "without_server_2.rgb"))
        << "the helix stands still without the server";

    ASSERT_TRUE(server.Start()) << server.Log();
    const auto returned = std::chrono::steady_clock::now();
    recording = std::make_unique<MonitorRecording>(server);
    ASSERT_TRUE(recording->live());
    VirtualDesktop::Pause(4000);
    const std::vector<float> samples = recording->Stop();
    const std::optional<double> heard = FirstAudible(samples);
    ASSERT_TRUE(heard.has_value()) << "silent for good after the server's return";
    const double seconds_after_return =
        std::chrono::duration<double>(recording->live_since() - returned).count() + *heard;
    EXPECT_LE(seconds_after_return, kReturnLimitSeconds) << "heard again too late";

    // The Start button stops and the exit switch ends the program: no message box holds them.
    click(kStartButtonKey);
    click(kExitButtonKey);
    const std::optional<int> status = testing::WaitForExit(pid, std::chrono::seconds(15));
    ASSERT_TRUE(status.has_value()) << "the exit switch did not end the program";
    EXPECT_EQ(*status, 0) << testing::ReadWholeFile(log);
    program.pid = -1;
}

}  // namespace
}  // namespace tavrola
