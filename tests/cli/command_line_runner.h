#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/headless_pulse.h"

namespace tavrola::testing {

// What a run of the real program as a command line gave.
struct CommandLineRun {
    int status = -1;
    std::string error;  // what it wrote to standard error
};

// Runs `tavrola ARGUMENTS` in `folder` with `input` on standard input, with no display and no
// sound server to reach, and waits for it.
inline CommandLineRun RunTavrola(const std::filesystem::path& folder,
                                 const std::vector<std::string>& arguments,
                                 const std::string& input = {}) {
    const std::filesystem::path stdin_file = folder / ".stdin";
    const std::filesystem::path stderr_file = folder / ".stderr";
    std::ofstream(stdin_file, std::ios::binary) << input;
    std::filesystem::remove(stderr_file);
    std::vector<std::string> command = {FindOnPath("sh")->string(), "-c",
                                        "cd \"$TAVROLA_TEST_FOLDER\" && exec \"$0\" \"$@\" < "
                                        "\"$TAVROLA_TEST_STDIN\"",
                                        TAVROLA_EXECUTABLE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    CommandLineRun run;
    run.status =
        RunProgram(command,
                   {"TAVROLA_TEST_FOLDER=" + folder.string(),
                    "TAVROLA_TEST_STDIN=" + stdin_file.string(), "DISPLAY=", "WAYLAND_DISPLAY=",
                    "QT_QPA_PLATFORM=", "PULSE_SERVER=unix:/nonexistent/tavrola-test"},
                   stderr_file);
    std::ifstream error(stderr_file);
    run.error.assign(std::istreambuf_iterator<char>(error), {});
    std::filesystem::remove(stdin_file);
    std::filesystem::remove(stderr_file);
    return run;
}

}  // namespace tavrola::testing
