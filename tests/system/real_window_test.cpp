#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
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

using testing::MonitorRecording;
using testing::VirtualDesktop;

constexpr float kAudible = 0.02F;  // -34 dBFS

std::filesystem::path OutputFolder(const std::string& test) {
    const std::filesystem::path folder = std::filesystem::path(TAVROLA_TEST_OUTPUT_DIR) / test;
    std::filesystem::create_directories(folder);
    return folder;
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
        ASSERT_TRUE(desktop_->running()) << testing::ReadWholeFile(folder_ / "x.log");
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

    // Starts the program in `working_directory` with `arguments`, as the desktop file does, and
    // waits for its window.
    void StartProgram(const std::filesystem::path& working_directory,
                      const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> environment = pulse_->environment();
        environment.push_back(desktop_->DisplayVariable());
        environment.push_back("QT_QPA_PLATFORM=xcb");
        std::vector<std::string> command = {TAVROLA_EXECUTABLE};
        command.insert(command.end(), arguments.begin(), arguments.end());
        pid_ = testing::SpawnInFolder(working_directory, command, environment,
                                      folder_ / "program.log");
        ASSERT_GT(pid_, 0);
        ASSERT_TRUE(desktop_->FocusWindow("Tavrola"))
            << testing::ReadWholeFile(folder_ / "program.log");
    }
    // The recording's clock: a slow start of the program must not shift the notes in it.
    double SecondsIntoRecording() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                             recording_->live_since())
            .count();
    }
    void ClickButton(CommandKey key) { testing::ClickButton(*desktop_, key); }
    void ExpectCleanExit() {
        const std::optional<int> status = testing::WaitForExit(pid_, std::chrono::seconds(15));
        ASSERT_TRUE(status.has_value()) << "the program did not end after the exit button";
        EXPECT_EQ(*status, 0) << testing::ReadWholeFile(folder_ / "program.log");
        pid_ = -1;
    }

    // What the sound server played during one performance: Start, `seconds` of playing with a
    // screenshot at their end, Stop, `after` more seconds, then the exit switch.
    struct Performance {
        std::vector<float> samples;
        double started = 0;
        double stopped = 0;

        std::size_t At(double seconds) const {
            return std::min(samples.size(),
                            static_cast<std::size_t>(seconds * MonitorRecording::kRate));
        }
        // The recording from one moment to another, in seconds into the recording.
        std::span<const float> Between(double from, double to) const {
            return std::span<const float>(samples).subspan(At(from), At(to) - At(from));
        }
    };
    Performance PlayStopAndExit(int seconds, int after) {
        Performance performance;
        performance.started = SecondsIntoRecording();
        ClickButton(kStartButtonKey);
        VirtualDesktop::Pause(seconds * 1000);
        EXPECT_TRUE(desktop_->Screenshot(folder_ / "playing.png"));
        performance.stopped = SecondsIntoRecording();
        ClickButton(kStartButtonKey);
        VirtualDesktop::Pause(after * 1000);
        ClickButton(kExitButtonKey);
        ExpectCleanExit();
        performance.samples = recording_->Stop();
        return performance;
    }

    std::filesystem::path folder_;
    std::unique_ptr<VirtualDesktop> desktop_;
    std::unique_ptr<testing::HeadlessPulse> pulse_;
    std::unique_ptr<MonitorRecording> recording_;
    pid_t pid_ = -1;
};

TEST_F(RealWindowTest, TypedSequencePlaysAudiblyStopsAndTheProgramExitsCleanly) {
    StartProgram(folder_);
    ClickButton(kDataButtonKey);
    ASSERT_TRUE(desktop_->FocusWindow("Data"));
    desktop_->Keys({"Tab"});
    desktop_->Type("gattacagattaca");
    desktop_->Keys({"Return"});
    desktop_->Pause(500);

    const Performance played = PlayStopAndExit(6, 3);
    ASSERT_GT(played.samples.size(), played.At(played.stopped + 2.5))
        << "the recording covers the performance";
    EXPECT_LT(testing::Peak(played.Between(0, played.started)), 0.001F) << "silent before Start";
    EXPECT_GT(testing::Peak(played.Between(played.started, played.stopped)), kAudible)
        << "the notes reach the sound server";
    EXPECT_LT(testing::Peak(played.Between(played.stopped + 2.2, played.stopped + 2.5)), kAudible)
        << "Stop silences the voices";
}

// Opened from the shell or the file manager: the first file's first record, chosen by keyboard,
// is ready for Start and plays its three notes only. Qt's options go to Qt, -- ends the options
// and the files not opened are named, their bytes kept.
TEST_F(RealWindowTest, AFileNamedOnTheCommandLineIsReadyForStartWithItsFirstRecord) {
    std::ofstream(folder_ / "two records.fa") << ">first three bases\nACG\n>second\n"
                                              << std::string(240, 'T') << "\n";
    StartProgram(folder_, {"-name", "tavrola", "--", "two records.fa", "--help", "lat\xe9.fa"});
    ASSERT_TRUE(desktop_->FocusWindow("Record")) << "the file holds two records";
    desktop_->Keys({"Return"});  // the first, selected
    VirtualDesktop::Pause(1000);
    EXPECT_TRUE(desktop_->Screenshot(folder_ / "loaded.png"));

    const double started = SecondsIntoRecording();
    ClickButton(kStartButtonKey);
    VirtualDesktop::Pause(16000);
    ClickButton(kExitButtonKey);
    ExpectCleanExit();
    const Performance played{recording_->Stop()};
    ASSERT_GT(played.samples.size(), played.At(started + 16)) << "the recording covers it all";
    EXPECT_LT(testing::Peak(played.Between(0, started)), 0.001F) << "it never plays by itself";
    EXPECT_GT(testing::Peak(played.Between(started, started + 3)), kAudible) << "Start plays";
    // Three notes of mixed timing end within 10 s; the second record would play on.
    EXPECT_LT(testing::Peak(played.Between(started + 13.5, started + 16)), kAudible)
        << "only the first record's notes";
    EXPECT_NE(testing::ReadWholeFile(folder_ / "program.log")
                  .find(R"(opening "two records.fa", not "--help", "lat\xE9.fa")"),
              std::string::npos)
        << "standard error names the files not opened";
}

// Times (seconds into the recording) where the sound rises sharply: a piano note's attack.
std::vector<double> NoteOnsets(std::span<const float> samples) {
    constexpr std::size_t kHop = MonitorRecording::kRate / 100;  // 10 ms
    const std::vector<float> peaks = testing::WindowPeaks(samples, kHop);
    std::vector<double> onsets;
    double last = -10.0;
    for (std::size_t i = 20; i < peaks.size(); ++i) {
        const float before = *std::max_element(peaks.begin() + static_cast<long>(i) - 20,
                                               peaks.begin() + static_cast<long>(i) - 2);
        const double time = static_cast<double>(i) / 100.0;
        if (peaks[i] > kAudible && peaks[i] > 1.6F * before && time - last > 1.0) {
            onsets.push_back(time);
            last = time;
        }
    }
    return onsets;
}

// A newcomer's first performance, by mouse and keyboard only: quarter notes on the piano, the
// lac operon loaded from the samples through the range dialog, ten notes and more, then out.
TEST_F(RealWindowTest, SampleFilePlaysQuarterNotesOnThePianoEveryThreeSeconds) {
    StartProgram(TAVROLA_STAGE_DIR);

    ClickButton(kAlgorithmButtonKey);
    ASSERT_TRUE(desktop_->FocusWindow("Assign"));
    // From OK past the 25 pitch lists to the timing list; Home picks "4分音符".
    std::vector<std::string> keys(26, "Tab");
    keys.push_back("Home");
    keys.push_back("Return");
    desktop_->Keys(keys);

    ClickButton(kInstrumentButtonKey);
    ASSERT_TRUE(desktop_->FocusWindow("Setting"));
    desktop_->Keys({"Tab", "Home", "Tab", "Home", "Return"});  // piano on both voices

    ClickButton(kDataButtonKey);
    ASSERT_TRUE(desktop_->FocusWindow("Data"));
    desktop_->Keys({"Tab", "Tab", "space"});  // OK, the box, then "読込"
    VirtualDesktop::Pause(1500);
    desktop_->Type(std::string(TAVROLA_STAGE_DIR) + "/data/J01636_ecoli_lac_operon.txt");
    desktop_->Keys({"Return"});
    ASSERT_TRUE(desktop_->FocusWindow("Target Area")) << "the file is longer than 8192 bytes";
    desktop_->Keys({"Return"});
    ASSERT_TRUE(desktop_->FocusWindow("Data"));
    desktop_->Keys({"Tab", "Return"});  // from "読込" round to OK
    VirtualDesktop::Pause(500);

    const Performance played = PlayStopAndExit(33, 1);
    const std::span<const float> performance = played.Between(played.started, played.stopped);
    EXPECT_GT(testing::Peak(performance), kAudible) << "the notes reach the sound server";
    const std::vector<double> onsets = NoteOnsets(performance);
    ASSERT_GE(onsets.size(), 10U) << "ten notes and more";
    EXPECT_LT(onsets.front(), 1.5) << "the first pair sounds at the first tick";
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        const double gap = onsets[i] - onsets[i - 1];
        EXPECT_TRUE(gap > 2.7 && gap < 3.8)
            << "note " << i << " came " << gap << " s after the last";
    }
}

}  // namespace
}  // namespace tavrola
