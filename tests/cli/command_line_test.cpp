#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "cli/command_line_runner.h"
#include "support/desktop_session.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;

// Each failure class ends with its documented status and one line that says why, and leaves
// no file; a success writes OUT, and audio reads back in its format at its rate, as long as the
// performance and its tail. No display and no sound server are there to be reached, and "-"
// reads standard input.
TEST(CommandLine, EndsWithTheStatusAndTheOneLineOfEachOutcome) {
    const testing::TempFolder folder;
    folder.Write("seq.txt", ">sample of a sequence\ngattacagattaca\n");
    folder.Write("long.txt", std::string(9000, 'a'));
    folder.Write("none.txt", "1234 5678\n");
    folder.Write("taken.mid", "before");
    const std::string long_input(9000, 'c');
    const std::vector<std::string> eighths = {"--quiet", "--timing", "eighth", "-"};
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::string input;
        int status;
        const char* said;     // in the one line of standard error
        const char* written;  // the file a success adds
        int format = 0;       // for audio: how it reads back
        int rate = 0;
    };
    // clang-format off
    const Case cases[] = {
        {"standard input", {"--quiet", "--export", "a.mid", "-"}, "gattaca", 0, "", "a.mid"},
        {"names in half- and full-width katakana, a table, eighths, all notes",
         {"--quiet", "--export", "b.mid", "--right", "ｸﾞﾗﾝﾄﾞ ﾋﾟｱﾉ", "--left", "グランド ピアノ", "--table",
          "cc-caaaagggtttt-cccaaaagggg", "--timing", "eighth", "--all-notes", "seq.txt"}, "", 0, "", "b.mid"},
        {"a stretch of a long file", {"--quiet", "--export", "c.mid", "--range", "100:8291", "long.txt"}, "", 0, "", "c.mid"},
        {"WAV", {"--export", "d.wav"}, "gattaca", 0, "", "d.wav", SF_FORMAT_WAV, 44100},
        {"FLAC", {"--export", "e.flac"}, "gattaca", 0, "", "e.flac", SF_FORMAT_FLAC, 44100},
        {"Ogg Vorbis", {"--export", "f.ogg"}, "gattaca", 0, "", "f.ogg", SF_FORMAT_OGG, 44100},
        {"Opus", {"--export", "g.opus"}, "gattaca", 0, "", "g.opus", SF_FORMAT_OGG, 48000},
        {"MP3", {"--export", "h.mp3"}, "gattaca", 0, "", "h.mp3", SF_FORMAT_MPEG, 44100},
        {"an unknown option", {"--export", "x.mid", "--loud", "seq.txt"}, "", 1, "Unknown option", ""},
        {"no --export", {"--range", "0:10", "seq.txt"}, "", 1, "--range needs --export", ""},
        {"an unknown extension", {"--export", "x.aiff", "seq.txt"}, "", 1, "must end in", ""},
        {"both voices silent", {"--export", "x.mid", "--right", "none", "--left", "なし", "seq.txt"}, "", 1, "both voices are silent", ""},
        {"a program past 127", {"--export", "x.mid", "--left", "128", "seq.txt"}, "", 1, "--left takes", ""},
        {"a timing not listed", {"--export", "x.mid", "--timing", "half", "seq.txt"}, "", 1, "--timing takes", ""},
        {"a table of 24 slots", {"--export", "x.mid", "--table", "CAGTCAGTCAGTCAGTCAGTCAGT", "seq.txt"}, "", 1, "--table takes", ""},
        {"a range that is not two numbers", {"--export", "x.mid", "--range", "5-9", "seq.txt"}, "", 1, "--range takes", ""},
        {"a missing input", {"--export", "x.mid", "gone.txt"}, "", 2, "does not exist", ""},
        {"no bases", {"--export", "x.mid", "none.txt"}, "", 2, "no bases", ""},
        {"a long file without --range", {"--export", "x.mid", "long.txt"}, "", 2, "--range", ""},
        {"long standard input without --range", {"--export", "x.mid", "-"}, long_input, 2, "--range", ""},
        {"a range the wrong way round", {"--export", "x.mid", "--range", "10:5", "long.txt"}, "", 2, "END must come after START", ""},
        {"a range too large", {"--export", "x.mid", "--range", "0:8192", "long.txt"}, "", 2, "too large", ""},
        {"a range past the end", {"--export", "x.mid", "--range", "8000:9500", "long.txt"}, "", 2, "past the end", ""},
        {"a folder that is gone", {"--export", "gone/x.mid", "seq.txt"}, "", 3, "folder does not exist", ""},
        {"OUT exists without --force", {"--export", "taken.mid", "seq.txt"}, "", 3, "--force", ""},
        {"standard input without --export", {"-", "seq.txt"}, "gattaca", 1, "- needs --export", ""},
    };
    // clang-format on
    std::vector<std::string> names = NamesIn(folder.path());
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        if (c.format != 0) {
            arguments.insert(arguments.end(), eighths.begin(), eighths.end());
        }
        const testing::CommandLineRun run = testing::RunTavrola(folder.path(), arguments, c.input);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.error;
        if (*c.said != '\0') {
            EXPECT_NE(run.error.find(c.said), std::string::npos) << c.name << ": " << run.error;
            EXPECT_EQ(std::count(run.error.begin(), run.error.end(), '\n'), 1) << c.name;
        } else {
            EXPECT_EQ(run.error, "") << c.name << ": --quiet says nothing";
        }
        if (*c.written != '\0') {
            names.push_back(c.written);
            std::sort(names.begin(), names.end());
        }
        EXPECT_EQ(NamesIn(folder.path()), names) << c.name;
        if (c.format != 0) {
            SF_INFO info{};
            SNDFILE* in = sf_open((folder.path() / c.written).c_str(), SFM_READ, &info);
            ASSERT_NE(in, nullptr) << c.name;
            sf_close(in);
            EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, c.format) << c.name;
            EXPECT_EQ(info.samplerate, c.rate) << c.name;
            EXPECT_EQ(info.channels, 2) << c.name;
            // Eighth notes: seven pairs stop after 11 s, then at most 3 s of tail.
            const double seconds = static_cast<double>(info.frames) / c.rate;
            EXPECT_TRUE(seconds > 11.0 && seconds < 15.0) << c.name << ": " << seconds << " s";
        }
    }
}

// A logout, Ctrl+C or a closed terminal in the middle of a long render or a video's encoding
// leaves nothing behind, and the status is the shell's 128 + the signal.
TEST(CommandLine, ASignalMidRenderLeavesNothingBehind) {
    // A video's soundtrack is rendered first: a shorter performance reaches its encoding soon.
    const std::tuple<int, std::string, std::size_t> cases[] = {
        {SIGTERM, "long.flac", 2000}, {SIGINT, "long.flac", 2000}, {SIGHUP, "long.mp4", 200}};
    for (const auto& [signal_number, out, bases] : cases) {
        if (out.ends_with(".mp4") && !testing::FindOnPath("ffmpeg")) {
            continue;  // tools/test installs it
        }
        const testing::TempFolder folder;
        folder.Write("long.txt", std::string(bases, 'g'));
        const pid_t pid = testing::SpawnInFolder(
            folder.path(),
            {TAVROLA_EXECUTABLE, "--quiet", "--export", out, "--timing", "quarter", "long.txt"},
            {"DISPLAY=", "PULSE_SERVER=unix:/nonexistent/tavrola-test"}, "/dev/null");
        ASSERT_GT(pid, 0);
        // The file itself under way (a video's, not its soundtrack's), with something in it.
        const auto under_way = [&folder, &out] {
            for (const std::string& name : NamesIn(folder.path())) {
                std::error_code error;
                if (name.starts_with("." + out + ".") &&
                    name.find("soundtrack") == std::string::npos &&
                    fs::file_size(folder.path() / name, error) > 0) {
                    return true;
                }
            }
            return false;
        };
        for (int waited = 0; waited < 600 && !under_way(); ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(under_way()) << out << " never began";
        ::kill(pid, signal_number);
        EXPECT_EQ(testing::WaitForExit(pid, std::chrono::seconds(10)), 128 + signal_number);
        EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"long.txt"}) << out;
    }
}

}  // namespace
}  // namespace tavrola
