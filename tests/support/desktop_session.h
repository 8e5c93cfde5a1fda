#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/headless_pulse.h"

namespace tavrola::testing {

// An X server of the test's own (Xvfb, no window manager, so a window placed at (0, 0) has
// its client area there) and xdotool to drive it as a user would.
class VirtualDesktop {
  public:
    static bool IsInstalled() {
        return FindOnPath("Xvfb") && FindOnPath("xdotool") && std::filesystem::exists(kImport);
    }

    explicit VirtualDesktop(const std::filesystem::path& log_folder) : log_(log_folder / "x.log") {
        for (int number = 91; number < 120 && pid_ <= 0; ++number) {
            const std::filesystem::path socket = "/tmp/.X11-unix/X" + std::to_string(number);
            const std::filesystem::path lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (std::filesystem::exists(socket) || std::filesystem::exists(lock)) {
                continue;
            }
            display_ = ":" + std::to_string(number);
            pid_ = SpawnProgram({FindOnPath("Xvfb")->string(), display_, "-screen", "0",
                                 "1024x768x24", "-nolisten", "tcp"},
                                {}, "/dev/null", log_);
            for (int waited = 0; pid_ > 0 && waited < 500; ++waited) {
                if (std::filesystem::exists(socket)) {
                    return;
                }
                if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                    pid_ = -1;  // another server won the number; try the next
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }
    ~VirtualDesktop() { StopProgram(pid_, SIGTERM); }
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    bool running() const { return pid_ > 0; }
    std::string DisplayVariable() const { return "DISPLAY=" + display_; }

    // Runs xdotool with these arguments; true when it succeeded.
    bool Xdo(const std::vector<std::string>& arguments) const {
        std::vector<std::string> command = {FindOnPath("timeout")->string(), "20",
                                            FindOnPath("xdotool")->string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunProgram(command, {DisplayVariable()}, log_) == 0;
    }
    void Click(int x, int y) const {
        Xdo({"mousemove", std::to_string(x), std::to_string(y)});
        Pause(100);
        Xdo({"click", "1"});
        Pause(150);
    }
    // Waits until a window of exactly this title is shown, then gives it the keyboard.
    bool FocusWindow(const std::string& title) const {
        return Xdo({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$",
                    "windowactivate", "--sync", "windowfocus", "--sync"}) ||
               Xdo({"search", "--sync", "--onlyvisible", "--name", "^" + title + "$", "windowfocus",
                    "--sync"});
    }
    void Keys(const std::vector<std::string>& keys) const {
        for (const std::string& key : keys) {
            Xdo({"key", "--clearmodifiers", key});
            Pause(60);
        }
    }
    void Type(const std::string& text) const { Xdo({"type", "--delay", "20", text}); }
    bool Screenshot(const std::filesystem::path& png) const {
        return RunProgram({kImport, "-window", "root", png.string()}, {DisplayVariable()}, log_) ==
               0;
    }
    static void Pause(int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

  private:
    // The real ImageMagick; a stand-in may come first on PATH.
    static constexpr const char* kImport = "/usr/bin/import";

    std::filesystem::path log_;
    std::string display_;
    pid_t pid_ = -1;
};

// Starts a program in a folder of its own choosing; -1 on failure.
inline pid_t SpawnInFolder(const std::filesystem::path& folder,
                           const std::vector<std::string>& arguments,
                           const std::vector<std::string>& extra_environment,
                           const std::filesystem::path& log) {
    std::vector<std::string> command = {FindOnPath("sh")->string(), "-c",
                                        "cd \"$0\" && exec \"$@\"", folder.string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return SpawnProgram(command, extra_environment, log, log);
}

// The exit status of a program this test started, once it ends within the time; nothing if
// it is still running then.
inline std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

}  // namespace tavrola::testing
