// The installed package's program, started as its menu entry starts it: the entry's command in
// the entry's folder, on a virtual desktop with a sound server of the test's own. Run by
// tests/packaging/install_for_real between installing the package and purging it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
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

using testing::VirtualDesktop;

constexpr float kAudible = 0.02F;  // -34 dBFS
const std::filesystem::path kMenuEntry =
    std::filesystem::path("/usr/share/applications") / (std::string(TAVROLA_APP_ID) + ".desktop");

// The value of `key` in the [Desktop Entry] group, if set.
std::optional<std::string> EntryValue(const std::filesystem::path& entry, const std::string& key) {
    std::ifstream in(entry);
    std::string line;
    bool in_main_group = false;
    while (std::getline(in, line)) {
        if (line.starts_with('[')) {
            in_main_group = line == "[Desktop Entry]";
        } else if (in_main_group && line.starts_with(key + "=")) {
            return line.substr(key.size() + 1);
        }
    }
    return std::nullopt;
}

// The arguments of an Exec value as a desktop runs them: double quotes group, a backslash in
// them escapes the next character, and field codes such as %f, with no file to pass, vanish.
std::vector<std::string> ExecArguments(const std::string& exec) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool started = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            if (started) {
                arguments.push_back(current);
            }
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) {
        arguments.push_back(current);
    }
    std::erase_if(arguments, [](const std::string& argument) {
        return argument.size() == 2 && argument[0] == '%';
    });
    return arguments;
}

// The processes whose command line holds `text`, less xdg-open itself: the viewers the desktop
// started for the program.
std::vector<pid_t> ViewersOf(const std::string& text) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        if (testing::ReadWholeFile(entry.path() / "cmdline").find(text) != std::string::npos &&
            testing::ReadWholeFile(entry.path() / "comm") != "xdg-open\n") {
            found.push_back(std::stoi(name));
        }
    }
    return found;
}

TEST(InstalledProgram, StartsFromItsMenuEntryPlaysAnInstalledSampleAndOpensTheInstalledHelp) {
    ASSERT_TRUE(std::filesystem::exists(kMenuEntry)) << "the package installs " << kMenuEntry;
    const std::vector<std::string> command = ExecArguments(EntryValue(kMenuEntry, "Exec").value());
    const std::filesystem::path folder = EntryValue(kMenuEntry, "Path").value();
    ASSERT_FALSE(command.empty());
    ASSERT_TRUE(std::filesystem::is_directory(folder / "data")) << folder;
    if (!VirtualDesktop::IsInstalled() || !testing::HeadlessPulse::IsInstalled()) {
        GTEST_SKIP() << "Xvfb, xdotool, ImageMagick or PulseAudio is missing";
    }

    const std::filesystem::path output = TAVROLA_TEST_OUTPUT_DIR;
    std::filesystem::create_directories(output);
    VirtualDesktop desktop(output);
    ASSERT_TRUE(desktop.running()) << testing::ReadWholeFile(output / "x.log");
    testing::HeadlessPulse pulse;
    ASSERT_TRUE(pulse.running()) << pulse.Log();
    testing::MonitorRecording recording(pulse);
    ASSERT_TRUE(recording.live());
    const auto click = [&](CommandKey key) { testing::ClickButton(desktop, key); };
    const auto seconds_into_recording = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() -
                                             recording.live_since())
            .count();
    };

    std::vector<std::string> environment = pulse.environment();
    environment.push_back(desktop.DisplayVariable());
    environment.push_back("QT_QPA_PLATFORM=xcb");
    const pid_t program =
        testing::SpawnInFolder(folder, command, environment, output / "program.log");
    ASSERT_GT(program, 0);
    ASSERT_TRUE(desktop.FocusWindow("Tavrola")) << testing::ReadWholeFile(output / "program.log");

    // The open-file dialog starts in the installed data folder, so the bare name finds the file.
    click(kDataButtonKey);
    ASSERT_TRUE(desktop.FocusWindow("Data"));
    desktop.Keys({"Tab", "Tab", "space"});  // OK, the box, then "読込"
    VirtualDesktop::Pause(1500);
    desktop.Type("X65923_human_fau_mRNA.txt");
    desktop.Keys({"Return"});
    ASSERT_TRUE(desktop.FocusWindow("Data"));
    desktop.Keys({"Tab", "Return"});  // from "読込" round to OK
    VirtualDesktop::Pause(500);

    const double started = seconds_into_recording();
    click(kStartButtonKey);
    VirtualDesktop::Pause(6000);
    EXPECT_TRUE(desktop.Screenshot(output / "playing.png"));
    const double stopped = seconds_into_recording();
    click(kStartButtonKey);

    // Help opens the installed CHM in the viewer the package recommends.
    const std::string help = (folder / "TavrolaApp.chm").string();
    click(kHelpButtonKey);
    std::vector<pid_t> viewers;
    for (int waited = 0; waited < 100 && viewers.empty(); ++waited) {
        VirtualDesktop::Pause(100);
        viewers = ViewersOf(help);
    }
    EXPECT_FALSE(viewers.empty()) << "no viewer opened " << help;
    VirtualDesktop::Pause(2000);
    EXPECT_TRUE(desktop.Screenshot(output / "help.png"));
    for (pid_t viewer : viewers) {
        ::kill(viewer, SIGTERM);
    }

    ASSERT_TRUE(desktop.FocusWindow("Tavrola"));
    click(kExitButtonKey);
    const std::optional<int> status = testing::WaitForExit(program, std::chrono::seconds(15));
    if (!status) {
        testing::StopProgram(program, SIGKILL);
    }
    EXPECT_EQ(status, std::optional<int>(0)) << testing::ReadWholeFile(output / "program.log");

    const std::vector<float> samples = recording.Stop();
    const auto at = [&](double seconds) {
        return std::min(samples.size(),
                        static_cast<std::size_t>(seconds * testing::MonitorRecording::kRate));
    };
    ASSERT_GT(samples.size(), at(stopped)) << "the recording covers the performance";
    const std::span<const float> performance =
        std::span<const float>(samples).subspan(at(started), at(stopped) - at(started));
    EXPECT_GT(testing::Peak(performance), kAudible)
        << "the installed sample reaches the sound server";
}

}  // namespace
}  // namespace tavrola
