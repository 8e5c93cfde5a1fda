#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "cli/command_line_runner.h"
#include "support/desktop_session.h"
#include "support/gzip_text.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;

// How many lines of standard error are neither progress nor the line naming the record read.
long FailureLines(const std::string& error) {
    static const std::regex kNotice("^tavrola: (writing|playing record) ", std::regex::multiline);
    return std::count(error.begin(), error.end(), '\n') -
           std::distance(std::sregex_iterator(error.begin(), error.end(), kNotice), {});
}

// Each failure class ends with its documented status and one line that says why, and leaves
// no file; a success writes OUT, and audio reads back in its format at its rate, as long as the
// performance and its tail. No display and no sound server are there to be reached, and "-"
// reads standard input. A file of records is read one record at a time, named on standard
// error unless --quiet.
TEST(CommandLine, EndsWithTheStatusAndTheOneLineOfEachOutcome) {
    const testing::TempFolder folder;
    folder.Write("seq.txt", ">sample of a sequence\ngattacagattaca\n");
    std::string twelve;
    for (int i = 1; i <= 12; ++i) {
        twelve += ">r" + std::to_string(i) + " record " + std::to_string(i) + "\nNACGT\nACGU\n";
    }
    folder.Write("twelve.fa", twelve);
    folder.Write("cut.fa.gz", testing::GzipText(twelve).substr(0, 40));
    folder.Write("long.fa", ">long\n" + std::string(9000, 'a') + "\n>gaps\nNNNN\n");
    folder.Write("long.txt", std::string(9000, 'a'));
    folder.Write("none.txt", "1234 5678\n");
    folder.Write("taken.mid", "before");
    folder.Write("lat\xe9.txt", "gattaca");
    const std::string longest_video = std::string(250, 'v') + ".mp4";
    const std::string too_long = std::string(252, 'x') + ".mid";
    fs::create_directory(folder.path() / "failing");
    fs::permissions(folder.Write("failing/ffmpeg",
                                 "#!/bin/sh\necho \"Unknown encoder 'libx264'\" >&2\nexit 1\n"),
                    fs::perms::owner_all);
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
        const char* shell = testing::kPlainRun;  // what happens around the run
    };
    // Standard error's reader is gone before the first progress line.
    const char* const stderr_closed =
        R"sh({ "$0" "$@" < .stdin 2>&1; echo $? > .stdin; } | true; exit "$(cat .stdin)")sh";
    // An ffmpeg that fails comes first on PATH.
    const char* const failing_encoder = R"(PATH="$PWD/failing:$PATH" exec "$0" "$@" < .stdin)";
    // Another program writes OUT while the export is under way.
    const char* const late_out =
        R"("$0" "$@" < .stdin & until ls -A | grep -q part; do sleep 0.05; done;)"
        R"( echo other > late.flac; wait $!)";
    // Standard input that never ends: the program holds its own FIFO open for writing.
    const char* const held_open = R"(mkfifo held; "$0" "$@" <> held; s=$?; rm held; exit $s)";
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
        {"standard error closed by its reader", {"--export", "p1.flac", "-"}, "gattaca", 0, "", "p1.flac",
         0, 0, stderr_closed},
        {"names that are not UTF-8", {"--quiet", "--export", "out\xe9.mid", "lat\xe9.txt"}, "", 0, "", "out\xe9.mid"},
        {"a video of the longest name", {"--quiet", "--export", longest_video, "--timing", "eighth", "-"}, "gattaca", 0, "",
         longest_video.c_str()},
        {"a name too long", {"--export", too_long, "seq.txt"}, "", 3, "name is too long", ""},
        {"an encoder that fails", {"--export", "f1.mp4", "-"}, "gattaca", 3,
         "cannot write f1.mp4: ffmpeg failed: Unknown encoder 'libx264'", "", 0, 0, failing_encoder},
        {"an unknown option", {"--export", "x.mid", "--loud", "seq.txt"}, "", 1, "Unknown option", ""},
        {"no --export", {"--range", "0:10", "seq.txt"}, "", 1, "--range needs --export", ""},
        {"a name that starts with -", {"--export", "x.mid", "-in.txt"}, "", 1, "use -- before a name that starts with -", ""},
        {"an option given twice", {"--export", "x1.mid", "--export", "x2.mid", "seq.txt"}, "", 1, "--export is given more than once", ""},
        {"-hv", {"--export", "x.mid", "-hv", "seq.txt"}, "", 1, "Unknown option 'hv'", ""},
        {"an extension without a name", {"--export", ".mid", "seq.txt"}, "", 1, "OUT needs a name before its extension", ""},
        {"the help to a full device", {"--help"}, "", 3, "cannot write to standard output", "", 0, 0, R"(exec "$0" "$@" > /dev/full)"},
        {"an unknown extension", {"--export", "x.aiff", "seq.txt"}, "", 1, "must end in", ""},
        {"both voices silent", {"--export", "x.mid", "--right", "none", "--left", "なし", "seq.txt"}, "", 1, "both voices are silent", ""},
        {"a program past 127", {"--export", "x.mid", "--left", "128", "seq.txt"}, "", 1, "--left takes", ""},
        {"a timing not listed", {"--export", "x.mid", "--timing", "half", "seq.txt"}, "", 1, "--timing takes", ""},
        {"a table of 24 slots", {"--export", "x.mid", "--table", "CAGTCAGTCAGTCAGTCAGTCAGT", "seq.txt"}, "", 1, "--table takes", ""},
        {"a range that is not two numbers", {"--export", "x.mid", "--range", "5-9", "seq.txt"}, "", 1, "--range takes", ""},
        {"a missing input", {"--export", "x.mid", "gone.txt"}, "", 2, "does not exist", ""},
        {"no bases", {"--export", "x.mid", "none.txt"}, "", 2, "no bases", ""},
        {"a long file without --range", {"--export", "x.mid", "long.txt"}, "", 2, "--range", ""},
        {"a record and its region from gzip on standard input", {"--export", "r.mid", "--record", "r3", "--region", "1-8", "-"},
         testing::GzipText(twelve), 0, "tavrola: playing record r3, positions 1-8 of 9, 1 letter skipped", "r.mid"},
        {"a stretch of a long record", {"--quiet", "--export", "s.mid", "--region", "801-8992", "long.fa"}, "", 0, "", "s.mid"},
        {"a FASTA file read raw, headers and all", {"--quiet", "--export", "t.mid", "--raw", "twelve.fa"}, "", 0, "", "t.mid"},
        {"an unknown record", {"--export", "x.mid", "--record", "r13", "twelve.fa"}, "", 2,
         "INPUT twelve.fa holds no record named r13; it holds r1, r2, r3, r4, r5, r6, r7, r8, r9, r10 and 2 more\n", ""},
        {"a long record without --region", {"--export", "x.mid", "long.fa"}, "", 2,
         "record long holds 9000 positions, more than the 8192 a load takes: choose a stretch with --region", ""},
        {"a region from 0", {"--export", "x.mid", "--region", "0-100", "long.fa"}, "", 2, "positions count from 1", ""},
        {"a region of one position", {"--export", "x.mid", "--region", "100-100", "long.fa"}, "", 2, "END must come after START", ""},
        {"a region too large", {"--export", "x.mid", "--region", "1-8193", "long.fa"}, "", 2, "at most 8192 positions", ""},
        {"a region past the end", {"--export", "x.mid", "--region", "2-50", "twelve.fa"}, "", 2,
         "the region reaches past the end of record r1 (9 positions)", ""},
        {"a record without bases", {"--export", "x.mid", "--record", "gaps", "long.fa"}, "", 2,
         "positions 1-4 of record gaps hold no bases", ""},
        {"a record asked of a raw file", {"--export", "x.mid", "--record", "r1", "long.txt"}, "", 2,
         "holds no FASTA, GenBank or EMBL records", ""},
        {"a byte range asked of a file of records", {"--export", "x.mid", "--range", "0:99", "twelve.fa"}, "", 2,
         "holds FASTA records: --range takes bytes of other files; choose positions of a record with --region", ""},
        {"gzip cut short", {"--export", "x.mid", "cut.fa.gz"}, "", 2, "INPUT cut.fa.gz is damaged: its gzip data is cut short", ""},
        {"--raw with --record", {"--export", "x.mid", "--raw", "--record", "r1", "twelve.fa"}, "", 1, "--raw", ""},
        {"--range with --region", {"--export", "x.mid", "--range", "0:9", "--region", "1-10", "twelve.fa"}, "", 1,
         "give one or the other", ""},
        {"a region that is not two numbers", {"--export", "x.mid", "--region", "5:9", "twelve.fa"}, "", 1, "--region takes", ""},
        {"long standard input without --range", {"--export", "x.mid", "-"}, long_input, 2,
         "standard input holds more than the 8192 bytes a load takes", ""},
        {"a range the wrong way round, before standard input comes", {"--export", "x.mid", "--range", "10:5", "-"}, "", 2,
         "END must come after START", "", 0, 0, held_open},
        {"a range too large", {"--export", "x.mid", "--range", "0:8192", "long.txt"}, "", 2, "too large", ""},
        {"a range past the end", {"--export", "x.mid", "--range", "8000:9500", "long.txt"}, "", 2, "past the end", ""},
        {"a range far into standard input", {"--export", "x.mid", "--range", "2000000000:2000000100", "-"}, "ACGT", 2,
         "past the end of standard input (4 bytes)", ""},
        {"a folder that is gone", {"--export", "gone/x.mid", "seq.txt"}, "", 3, "folder does not exist", ""},
        {"OUT exists without --force", {"--export", "taken.mid", "seq.txt"}, "", 3, "--force", ""},
        {"OUT appears while it is written, without --force",
         {"--quiet", "--export", "late.flac", "--range", "0:199", "long.txt"}, "", 3, "late.flac exists", "late.flac",
         0, 0, late_out},
        {"standard input without --export", {"-", "seq.txt"}, "gattaca", 1, "- needs --export", ""},
    };
    // clang-format on
    std::vector<std::string> names = NamesIn(folder.path());
    for (const Case& c : cases) {
        if (std::string_view(c.written).ends_with(".mp4") && !testing::FindOnPath("ffmpeg")) {
            continue;  // tools/test installs it
        }
        std::vector<std::string> arguments = c.arguments;
        if (c.format != 0) {
            arguments.insert(arguments.end(), eighths.begin(), eighths.end());
        }
        const testing::CommandLineRun run =
            testing::RunTavrola(folder.path(), arguments, c.input, c.shell);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.error;
        EXPECT_LT(run.peak_kilobytes, 1 << 20) << c.name << ": never a gigabyte";
        if (*c.said != '\0') {
            EXPECT_NE(run.error.find(c.said), std::string::npos) << c.name << ": " << run.error;
            EXPECT_EQ(FailureLines(run.error), c.status == 0 ? 0 : 1)
                << c.name << ": " << run.error;
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

// A logout, Ctrl+C or a closed terminal in the middle of a long render or a video's encoding,
// or while standard input is still awaited (also in the middle of gzip data), leaves nothing
// behind, and the status is the shell's 128 + the signal.
TEST(CommandLine, ASignalMidRenderLeavesNothingBehind) {
    // A video's soundtrack is rendered first: a shorter performance reaches its encoding soon.
    // Without bases, the input is standard input that is held open after `written`.
    const std::string packed = testing::GzipText(">r\n" + std::string(5000, 'a'));
    // clang-format off
    const std::tuple<int, std::string, std::size_t, std::string> cases[] = {
        {SIGTERM, "long.flac", 2000, ""}, {SIGINT, "long.flac", 2000, ""}, {SIGHUP, "long.mp4", 200, ""},
        {SIGTERM, "waiting.mid", 0, ""}, {SIGINT, "gzip.mid", 0, packed.substr(0, packed.size() / 2)}};
    // clang-format on
    for (const auto& [signal_number, out, bases, written] : cases) {
        if (out.ends_with(".mp4") && !testing::FindOnPath("ffmpeg")) {
            continue;  // tools/test installs it
        }
        const testing::TempFolder folder;
        folder.Write("long.txt", std::string(bases, 'g'));
        const fs::path held = folder.path() / "held";
        const int writer = bases == 0 && ::mkfifo(held.c_str(), 0600) == 0
                               ? ::open(held.c_str(), O_RDWR | O_CLOEXEC)
                               : -1;
        ASSERT_TRUE(writer < 0 || ::write(writer, written.data(), written.size()) ==
                                      static_cast<ssize_t>(written.size()));
        const pid_t pid = testing::SpawnInFolder(
            folder.path(),
            {testing::FindOnPath("sh")->string(), "-c",
             bases == 0 ? "exec \"$0\" \"$@\" < held" : "exec \"$0\" \"$@\"", TAVROLA_EXECUTABLE,
             "--quiet", "--export", out, "--timing", "quarter", bases == 0 ? "-" : "long.txt"},
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
        for (int waited = 0; waited < 600 && bases > 0 && !under_way(); ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(bases == 0 || under_way()) << out << " never began";
        std::this_thread::sleep_for(std::chrono::milliseconds(bases == 0 ? 500 : 0));
        ::kill(pid, signal_number);
        EXPECT_EQ(testing::WaitForExit(pid, std::chrono::seconds(bases == 0 ? 2 : 10)),
                  128 + signal_number)
            << out;
        if (writer >= 0) {
            ::close(writer);
            fs::remove(held);
        }
        EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{"long.txt"}) << out;
    }
}

}  // namespace
}  // namespace tavrola
