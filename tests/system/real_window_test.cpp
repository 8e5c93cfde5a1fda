#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "support/audio_measures.h"
#include "support/desktop_session.h"
#include "support/headless_pulse.h"

namespace tavrola {
namespace {

using testing::MonitorRecording;
using testing::VirtualDesktop;

// Client positions of the main window's buttons; the window stands at (0, 0).
constexpr int kButtonX = 445;
constexpr int kDataY = 26;
constexpr int kStartY = 76;
constexpr int kInstrumentY = 126;
constexpr int kAlgorithmY = 176;
constexpr int kExitX = 510;
constexpr int kExitY = 530;

constexpr float kAudible = 0.02F;  // -34 dBFS

std::filesystem::path OutputFolder(const std::string& test) {
    const std::filesystem::path folder = std::filesystem::path(TAVROLA_TEST_OUTPUT_DIR) / test;
    std::filesystem::create_directories(folder);
    return folder;
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The real program on a virtual desktop, its sound going to a headless server of the test's
// own whose output is recorded.
class RealWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!VirtualDesktop::IsInstalled() || !testing::HeadlessPulse::IsInstalled()) {
            GTEST_SKIP() << "Xvfb, xdotool, ImageMagick or PulseAudio is missing "
                            "(tools/test installs them)";
        }
        folder_ = OutputFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        desktop_ = std::make_unique<VirtualDesktop>(folder_);
        ASSERT_TRUE(desktop_->running()) << ReadText(folder_ / "x.log");
        pulse_ = std::make_unique<testing::HeadlessPulse>();
        ASSERT_TRUE(pulse_->running()) << pulse_->Log();
        recording_ = std::make_unique<MonitorRecording>(*pulse_);
        ASSERT_TRUE(recording_->live());
    }
    void TearDown() override {
        if (pid_ > 0 && !testing::WaitForExit(pid_, std::chrono::milliseconds(0))) {
            testing::StopProgram(pid_, SIGKILL);
        }
        recording_.reset();
        pulse_.reset();
        desktop_.reset();
    }

    // Starts the program in `working_directory`, as the desktop file does, and waits for its
    // window.
    void StartProgram(const std::filesystem::path& working_directory) {
        std::vector<std::string> environment = pulse_->environment();
        environment.push_back(desktop_->DisplayVariable());
        environment.push_back("QT_QPA_PLATFORM=xcb");
        pid_ = testing::SpawnInFolder(working_directory, {TAVROLA_EXECUTABLE}, environment,
                                      folder_ / "program.log");
        ASSERT_GT(pid_, 0);
        ASSERT_TRUE(desktop_->FocusWindow("Tavrola")) << ReadText(folder_ / "program.log");
        start_ = std::chrono::steady_clock::now();
    }
    double SecondsSinceStart() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    void ExpectCleanExit() {
        const std::optional<int> status = testing::WaitForExit(pid_, std::chrono::seconds(15));
        ASSERT_TRUE(status.has_value()) << "the program did not end after the exit button";
        EXPECT_EQ(*status, 0) << ReadText(folder_ / "program.log");
        pid_ = -1;
    }

    std::filesystem::path folder_;
    std::unique_ptr<VirtualDesktop> desktop_;
    std::unique_ptr<testing::HeadlessPulse> pulse_;
    std::unique_ptr<MonitorRecording> recording_;
    pid_t pid_ = -1;
    std::chrono::steady_clock::time_point start_;
};

TEST_F(RealWindowTest, TypedSequencePlaysAudiblyStopsAndTheProgramExitsCleanly) {
    StartProgram(folder_);
    desktop_->Click(kButtonX, kDataY);
    ASSERT_TRUE(desktop_->FocusWindow("Data"));
    desktop_->Keys({"Tab"});
    desktop_->Type("gattacagattaca");
    desktop_->Keys({"Return"});
    desktop_->Pause(500);

    const double started = SecondsSinceStart();
    desktop_->Click(kButtonX, kStartY);
    VirtualDesktop::Pause(6000);
    EXPECT_TRUE(desktop_->Screenshot(folder_ / "playing.png"));
    const double stopped = SecondsSinceStart();
    desktop_->Click(kButtonX, kStartY);
    VirtualDesktop::Pause(2500);
    desktop_->Click(kExitX, kExitY);
    ExpectCleanExit();

    const std::vector<float> samples = recording_->Stop();
    const auto at = [&samples](double seconds) {
        return std::min(samples.size(),
                        static_cast<std::size_t>(seconds * MonitorRecording::kRate));
    };
    const std::span<const float> all(samples);
    ASSERT_GT(samples.size(), at(stopped)) << "the recording covers the performance";
    EXPECT_LT(testing::Peak(all.subspan(0, at(started))), 0.001F) << "silent before Start";
    EXPECT_GT(testing::Peak(all.subspan(at(started), at(stopped) - at(started))), kAudible)
        << "the notes reach the sound server";
    const std::size_t tail = at(stopped + 2.2);
    EXPECT_LT(testing::Peak(all.subspan(tail, at(stopped + 2.5) - tail)), kAudible)
        << "Stop silences the voices";
}

}  // namespace
}  // namespace tavrola
