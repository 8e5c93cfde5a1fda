#pragma once

#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/desktop_session.h"
#include "support/temp_folder.h"

namespace tavrola::testing {

// What a run of the real program as a command line gave.
struct CommandLineRun {
    std::optional<int> status;
    std::string error;        // what it wrote to standard error, and to standard output (nothing)
    long peak_kilobytes = 0;  // the most memory it held at once
};

// How the shell runs the program ("$0" is the program, "$@" its arguments): as it is, with
// standard input from the input given.
inline constexpr const char* kPlainRun = "exec \"$0\" \"$@\" < .stdin";
// The same under an English desktop.
inline constexpr const char* kEnglishRun = "LANG=en_GB.UTF-8 exec \"$0\" \"$@\" < .stdin";

// Runs `tavrola ARGUMENTS` in `folder` with `input` on standard input, with no display and no
// sound server to reach, under the untranslated C locale, and waits for it.
inline CommandLineRun RunTavrola(const std::filesystem::path& folder,
                                 std::vector<std::string> arguments, const std::string& input = {},
                                 const std::string& shell = kPlainRun) {
    std::ofstream(folder / ".stdin", std::ios::binary) << input;
    arguments.insert(arguments.begin(),
                     {FindOnPath("sh")->string(), "-c", shell, TAVROLA_EXECUTABLE});
    CommandLineRun run;
    const pid_t pid =
        SpawnInFolder(folder, arguments,
                      {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=",
                       "PULSE_SERVER=unix:/nonexistent/tavrola-test",
                       // Japanese, as designed, whatever the tests' desktop
                       "TAVROLA_LANGUAGE=", "LANGUAGE=", "LC_ALL=", "LC_MESSAGES=", "LANG=C.UTF-8"},
                      folder / ".stderr");
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    while (pid > 0 && !run.status && std::chrono::steady_clock::now() < until) {
        int status = 0;
        struct rusage usage {};
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            run.peak_kilobytes = usage.ru_maxrss;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    run.error = ReadWholeFile(folder / ".stderr");
    std::filesystem::remove(folder / ".stdin");
    std::filesystem::remove(folder / ".stderr");
    return run;
}

}  // namespace tavrola::testing
