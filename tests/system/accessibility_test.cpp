#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/debian_python.h"
#include "support/desktop_session.h"
#include "support/headless_pulse.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

using testing::VirtualDesktop;

// One accessible object as the screen reader's client printed it.
struct Accessible {
    std::string role;
    std::string name;
    std::string description;
    std::string states;
};

// What a screen reader hears under a desktop's locale: the designed Japanese under C (as tests
// and scripts run), English under an English desktop.
struct Hearing {
    const char* name;
    const char* lang;
    std::vector<std::string> buttons;  // by command key: exit, Data, Start, Instrument, ...
    std::string helix;
    std::vector<std::string> labels;  // description=text, sorted
};
void PrintTo(const Hearing& hearing, std::ostream* out) {
    *out << hearing.name;
}

const Hearing kHearings[] = {
    {"Japanese",
     "C.UTF-8",
     {"終了", "データ", "開始", "音色", "アルゴリズム", "ヘルプ"},
     "DNA の二重らせん",
     {"右の声部の塩基=-", "右の声部の音高=-", "左の声部の塩基=-", "左の声部の音高=-"}},
    {"English",
     "en_GB.UTF-8",
     {"Quit", "Data", "Start", "Instrument", "Algorithm", "Help"},
     "DNA double helix",
     {"Base of the left voice=-", "Base of the right voice=-", "Pitch of the left voice=-",
      "Pitch of the right voice=-"}},
};

// The real program under Xvfb with its accessibility bridge on, a session bus of the test's
// own (where at-spi2-core's bus is started on demand) and a headless sound server, read by a
// real AT-SPI client.
class AccessibilityTest : public ::testing::TestWithParam<Hearing> {
  protected:
    void SetUp() override {
        if (!VirtualDesktop::IsInstalled() || !testing::HeadlessPulse::IsInstalled() ||
            !testing::FindOnPath("dbus-daemon") ||
            testing::RunProgram({testing::kDebianPython, "-c", "import pyatspi"}, {},
                                "/dev/null") != 0) {
            GTEST_SKIP() << "Xvfb, PulseAudio, dbus or python3-pyatspi is missing "
                            "(tools/test installs them)";
        }
        folder_ = std::filesystem::path(TAVROLA_TEST_OUTPUT_DIR) /
                  (std::string("Accessibility") + GetParam().name);
        std::filesystem::create_directories(folder_);
        desktop_ = std::make_unique<VirtualDesktop>(folder_);
        ASSERT_TRUE(desktop_->running());
        pulse_ = std::make_unique<testing::HeadlessPulse>();
        ASSERT_TRUE(pulse_->running()) << pulse_->Log();
        const std::filesystem::path socket = bus_folder_.path() / "bus";
        bus_ = testing::SpawnProgram({testing::FindOnPath("dbus-daemon")->string(), "--session",
                                      "--nofork", "--address=unix:path=" + socket.string()},
                                     {}, "/dev/null", folder_ / "dbus.log");
        for (int waited = 0; waited < 500 && !std::filesystem::exists(socket); ++waited) {
            VirtualDesktop::Pause(10);
        }
        ASSERT_TRUE(std::filesystem::exists(socket))
            << testing::ReadWholeFile(folder_ / "dbus.log");
        session_ = {"DBUS_SESSION_BUS_ADDRESS=unix:path=" + socket.string()};
    }
    void TearDown() override {
        if (program_ > 0) {
            testing::StopProgram(program_, SIGKILL);
        }
        // The accessibility bus was started by the session bus; it ends with it.
        testing::StopProgram(bus_, SIGTERM);
        pulse_.reset();
        desktop_.reset();
    }

    void StartProgram() {
        std::vector<std::string> environment = pulse_->environment();
        environment.insert(environment.end(), session_.begin(), session_.end());
        environment.push_back(desktop_->DisplayVariable());
        environment.push_back("QT_QPA_PLATFORM=xcb");
        environment.push_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
        environment.insert(environment.end(),
                           {"TAVROLA_LANGUAGE=", "LANGUAGE=", "LC_ALL=", "LC_MESSAGES=",
                            std::string("LANG=") + GetParam().lang});
        program_ = testing::SpawnInFolder(TAVROLA_STAGE_DIR, {TAVROLA_EXECUTABLE}, environment,
                                          folder_ / "program.log");
        ASSERT_GT(program_, 0);
        ASSERT_TRUE(desktop_->FocusWindow("Tavrola"))
            << testing::ReadWholeFile(folder_ / "program.log");
    }

    // Runs the AT-SPI client; its exit status, with what it printed in `output`.
    int Client(const std::vector<std::string>& arguments, const std::filesystem::path& output) {
        std::vector<std::string> command = {testing::FindOnPath("timeout")->string(), "60",
                                            testing::kDebianPython, TAVROLA_ATSPI_CLIENT};
        command.insert(command.end(), arguments.begin(), arguments.end());
        std::vector<std::string> environment = session_;
        environment.push_back(desktop_->DisplayVariable());
        const pid_t pid =
            testing::SpawnProgram(command, environment, output, folder_ / "client.log");
        const std::optional<int> status = testing::WaitForExit(pid, std::chrono::seconds(70));
        return status.value_or(-1);
    }

    std::vector<Accessible> List() {
        const std::filesystem::path listing = folder_ / "atspi-list.txt";
        EXPECT_EQ(Client({"list"}, listing), 0) << testing::ReadWholeFile(folder_ / "client.log");
        std::vector<Accessible> found;
        std::istringstream lines(testing::ReadWholeFile(listing));
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> fields;
            std::istringstream parts(line);
            for (std::string field; std::getline(parts, field, '|');) {
                fields.push_back(field);
            }
            fields.resize(4);
            found.push_back({fields[0], fields[1], fields[2], fields[3]});
        }
        return found;
    }

    std::filesystem::path folder_;
    std::unique_ptr<VirtualDesktop> desktop_;
    std::unique_ptr<testing::HeadlessPulse> pulse_;
    testing::TempFolder bus_folder_;
    std::vector<std::string> session_;
    pid_t bus_ = -1;
    pid_t program_ = -1;
};

TEST_P(AccessibilityTest, AScreenReaderFindsTheSixButtonsByNameAndPressesData) {
    StartProgram();
    const std::vector<Accessible> found = List();
    const Hearing& hearing = GetParam();
    const std::string& data = hearing.buttons[1];
    const std::string& start = hearing.buttons[2];
    const std::string& instrument = hearing.buttons[3];

    // Start waits for a sequence, so only it is neither enabled nor sensitive.
    std::map<std::string, bool> buttons;
    for (const std::string& name : hearing.buttons) {
        buttons[name] = name != start;
    }
    std::map<std::string, std::string> button_states;
    std::vector<std::string> labels;
    bool helix_described = false;
    for (const Accessible& accessible : found) {
        if (accessible.role == "push button") {
            button_states[accessible.name] = accessible.states;
        } else if (accessible.role == "image") {
            helix_described = accessible.name == hearing.helix && !accessible.description.empty();
        } else if (accessible.role == "label" && !accessible.description.empty()) {
            labels.push_back(accessible.description + "=" + accessible.name);
        }
    }
    ASSERT_EQ(button_states.size(), buttons.size())
        << testing::ReadWholeFile(folder_ / "atspi-list.txt");
    for (const auto& [name, enabled] : buttons) {
        ASSERT_TRUE(button_states.contains(name)) << name;
        EXPECT_EQ(button_states[name].find("sensitive") != std::string::npos, enabled) << name;
        EXPECT_NE(button_states[name].find("showing"), std::string::npos) << name;
    }
    EXPECT_TRUE(helix_described) << "the sphere layer is a described picture";
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, hearing.labels) << "the four voice labels read as text";

    // The press returns at once and the Data dialog opens after it; a sequence typed there
    // enables 開始.
    EXPECT_EQ(Client({"press", data}, folder_ / "press.txt"), 0)
        << testing::ReadWholeFile(folder_ / "client.log");
    EXPECT_TRUE(desktop_->FocusWindow("Data")) << "pressing データ opened the Data dialog";
    desktop_->Keys({"Tab"});
    desktop_->Type("acgtacgtacgtacgt");
    desktop_->Keys({"shift+Return"});
    ASSERT_TRUE(desktop_->FocusWindow("Tavrola"));

    // While the Instrument dialog blocks the window, screen readers are told that every button
    // is unavailable, and pressing 開始 then starts nothing; the dialog's OK makes them available
    // again (playback would have left 音色 unavailable and renamed 開始 停止).
    ASSERT_EQ(Client({"watch", instrument, start, "OK"}, folder_ / "watch.txt"), 0)
        << testing::ReadWholeFile(folder_ / "client.log");
    const std::string changes = testing::ReadWholeFile(folder_ / "watch.txt");
    for (const auto& [name, enabled] : buttons) {
        const std::size_t off = changes.find(name + "|0\n");
        EXPECT_NE(off, std::string::npos) << name << " unavailable under the dialog:\n" << changes;
        EXPECT_NE(changes.find(name + "|1\n", off), std::string::npos) << name << " again after";
    }
    ASSERT_TRUE(desktop_->FocusWindow("Tavrola"));
    desktop_->Keys({"ctrl+q"});
    const std::optional<int> status = testing::WaitForExit(program_, std::chrono::seconds(15));
    ASSERT_TRUE(status.has_value()) << "Ctrl+Q ends the program";
    EXPECT_EQ(*status, 0) << testing::ReadWholeFile(folder_ / "program.log");
    program_ = -1;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, AccessibilityTest, ::testing::ValuesIn(kHearings),
                         [](const ::testing::TestParamInfo<Hearing>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace tavrola
