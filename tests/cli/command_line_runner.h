#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/desktop_session.h"
#include "support/temp_folder.h"

namespace tavrola::testing {

// What a run of the real program as a command line gave.
struct CommandLineRun {
    std::optional<int> status;
    std::string error;  // what it wrote to standard error, and to standard output (nothing)
};

// Runs `tavrola ARGUMENTS` in `folder` with `input` on standard input, with no display and no
// sound server to reach, and waits for it.
inline CommandLineRun RunTavrola(const std::filesystem::path& folder,
                                 std::vector<std::string> arguments,
                                 const std::string& input = {}) {
    std::ofstream(folder / ".stdin", std::ios::binary) << input;
    arguments.insert(arguments.begin(), {FindOnPath("sh")->string(), "-c",
                                         "exec \"$0\" \"$@\" < .stdin", TAVROLA_EXECUTABLE});
    CommandLineRun run;
    run.status = WaitForExit(SpawnInFolder(folder, arguments,
                                           {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=",
                                            "PULSE_SERVER=unix:/nonexistent/tavrola-test"},
                                           folder / ".stderr"),
                             std::chrono::minutes(3));
    run.error = ReadWholeFile(folder / ".stderr");
    std::filesystem::remove(folder / ".stdin");
    std::filesystem::remove(folder / ".stderr");
    return run;
}

}  // namespace tavrola::testing
