#include "audio/export/midi_file_writer.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "audio/export/audio_file_writer.h"
#include "audio/fluidsynth_output.h"
#include "core/music/midi_output.h"
#include "support/debian_python.h"
#include "support/live_performance.h"
#include "support/temp_folder.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;

constexpr const char* kTargetName = "performance.mid";
constexpr const char* kPreviousExport = "the export made before";

void WritePreviousExport(const fs::path& target) {
    std::ofstream(target, std::ios::binary) << kPreviousExport;
}

// The file as mido reads it: its first line, then each track's events, one line each, with
// their time in pulses. Debian's python3-mido serves Debian's own interpreter, which need not
// be the python3 found first on the path.
struct ReadBack {
    bool reader_missing = false;
    std::string file_line;
    std::vector<std::vector<std::string>> tracks;
};

ReadBack ReadWithMido(const fs::path& file) {
    ReadBack read;
    const std::string command = std::string(testing::kDebianPython) +
                                " " TAVROLA_MIDI_FILE_READER " '" + file.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        read.reader_missing = true;
        return read;
    }
    std::string line;
    for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
        } else if (line.rfind("file ", 0) == 0) {
            read.file_line = std::exchange(line, {});
        } else if (line.rfind("track ", 0) == 0) {
            read.tracks.emplace_back();
            line.clear();
        } else if (!read.tracks.empty()) {
            read.tracks.back().push_back(std::exchange(line, {}));
        } else {
            read.file_line += std::exchange(line, {});  // an error: shown in the failure
        }
    }
    const int status = ::pclose(pipe);
    read.reader_missing =
        WIFEXITED(status) && (WEXITSTATUS(status) == 3 || WEXITSTATUS(status) == 127);
    return read;
}

std::string Line(std::int64_t pulse, const std::string& rest) {
    return std::to_string(pulse) + " " + rest;
}

// What a voice's track must hold, taken from what playback really sent on its channel.
std::vector<std::string> ExpectedVoiceTrack(const SimulatedPerformance& played,
                                            std::uint32_t channel, const char* name,
                                            std::int32_t program) {
    const std::string on_channel = " " + std::to_string(channel) + " ";
    std::vector<std::string> lines = {
        Line(0, std::string("track_name ") + name),
        Line(0, "program_change" + on_channel + std::to_string(program))};
    std::set<std::uint32_t> sounding;
    for (const TimedMidiEvent& event : played.events) {
        const std::uint32_t status = event.message & 0xffU;
        const std::uint32_t note = (event.message >> 8) & 0xffU;
        const std::uint32_t velocity = (event.message >> 16) & 0xffU;
        const bool on = status == kNoteOnStatus + channel;
        if (!on && (status != kNoteOffStatus + channel || note == 0)) {
            continue;
        }
        lines.push_back(Line(event.tick * kMidiFilePulsesPerTick,
                             (on ? "note_on" : "note_off") + on_channel + std::to_string(note) +
                                 " " + std::to_string(velocity)));
        on ? (void)sounding.insert(note) : (void)sounding.erase(note);
    }
    const std::int64_t stop = played.stop_tick * kMidiFilePulsesPerTick;
    for (const std::uint32_t note : sounding) {
        lines.push_back(Line(stop, "note_off" + on_channel + std::to_string(note) + " 0"));
    }
    lines.push_back(Line(stop, "end_of_track"));
    return lines;
}

// Export, then Start: the file, read back by an independent reader, holds the notes the real
// playback sends, tick for tick, on the voices' tracks, channels and programs, with the tempo
// and metre that make one tick a quarter note; every note still sounding ends at the stop tick.
TEST(MidiFile, ReadBackIsWhatStartThenPlays) {
    struct Case {
        const char* name;
        const char* text;
        TimingMode timing_mode;
        std::int32_t right_instrument;
        std::int32_t left_instrument;
        std::int64_t ticks_before;  // played first; 0 plays a whole performance
        bool voices_rest;           // no pitch for A or T: those pairs end a note and start none
    };
    const Case cases[] = {
        {"mixed timing, after a stop in mid-sequence", "gattacaCGTTTAGcatgcaaccgtagctagctaggatcc",
         TimingMode::kMixed, 98, 91, 45, false},
        {"quarter notes, left voice silent, from the start", "gattacaCGTTTAGcatgcaacc",
         TimingMode::kQuarter, 0, kSilentInstrument, 0, false},
        {"eighth notes, voices resting, ending on a rest", "cgatcgtagca", TimingMode::kEighth, 40,
         73, 0, true},
        {"both voices silent", "gattaca", TimingMode::kQuarter, kSilentInstrument,
         kSilentInstrument, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::PerformanceStage stage(c.text);
        stage.state.timing_mode = c.timing_mode;
        stage.state.right_instrument = c.right_instrument;
        stage.state.left_instrument = c.left_instrument;
        if (c.voices_rest) {
            stage.state.assignment_table.fill(kCytosine);
            stage.state.assignment_table[24] = kGuanine;
            stage.state.diatonic_only = false;
        }
        stage.Play(c.ticks_before == 0 ? 1000000 : c.ticks_before);

        testing::TempFolder folder;
        const fs::path target = folder.path() / kTargetName;
        WritePreviousExport(target);
        fs::permissions(target,
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        const SimulatedPerformance simulated =
            SimulatePerformance(stage.state, stage.layer.table, stage.random);
        ASSERT_EQ(WriteMidiFile(simulated, target), ExportResult::kSuccess);
        EXPECT_EQ(NamesIn(folder.path()), std::vector<std::string>{kTargetName});
        EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
            << "a replaced file keeps its permissions";

        const SimulatedPerformance played = stage.Play();
        const ReadBack read = ReadWithMido(target);
        if (read.reader_missing) {
            GTEST_SKIP() << "python3-mido is missing (apt-get install python3-mido): the file "
                            "was written but not read back";
        }
        const bool right_sounds = c.right_instrument != kSilentInstrument;
        const bool left_sounds = c.left_instrument != kSilentInstrument;
        const std::size_t track_count = 1 + (right_sounds ? 1 : 0) + (left_sounds ? 1 : 0);
        EXPECT_EQ(read.file_line, "file 1 480 " + std::to_string(track_count));
        ASSERT_EQ(read.tracks.size(), track_count) << read.file_line;
        const std::int64_t stop = played.stop_tick * kMidiFilePulsesPerTick;
        EXPECT_EQ(read.tracks[0],
                  (std::vector<std::string>{"0 set_tempo 500000", "0 time_signature 4 4 24 8",
                                            Line(stop, "end_of_track")}));
        std::size_t track = 1;
        if (right_sounds) {
            EXPECT_EQ(read.tracks[track++],
                      ExpectedVoiceTrack(played, kRightVoiceChannel, kRightVoiceTrackName,
                                         c.right_instrument));
        }
        if (left_sounds) {
            EXPECT_EQ(read.tracks[track],
                      ExpectedVoiceTrack(played, kLeftVoiceChannel, kLeftVoiceTrackName,
                                         c.left_instrument));
        }
    }
}

// A performance of both voices, a pair every six ticks: by default some 40 KB of MIDI file.
SimulatedPerformance LongPerformance(std::int64_t pairs = 2000) {
    SimulatedPerformance performance;
    performance.right_program = 0;
    performance.left_program = 40;
    std::uint32_t last = 0;
    for (std::int64_t pair = 0; pair < pairs; ++pair) {
        const std::uint32_t note = 60 + static_cast<std::uint32_t>(pair % 12);
        for (std::uint32_t channel = 0; channel < 2; ++channel) {
            performance.events.push_back(
                {pair * 6, PackShortMessage(kNoteOffStatus + channel, last, 0)});
            performance.events.push_back(
                {pair * 6, PackShortMessage(kNoteOnStatus + channel, note, 127)});
        }
        last = note;
    }
    performance.stop_tick = pairs * 6 + 3;
    return performance;
}

// Makes the folder what the case needs, in the child process the export then runs in. Gives
// a reason when this machine cannot make it.
using TargetSetUp = std::function<std::string(const fs::path& folder)>;

// Root writes anywhere: what a user meets is tried as nobody.
std::string BecomeNobody() {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
        return "cannot leave root";
    }
    return {};
}

void RemoveWritePermission(const fs::path& folder) {
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::permissions(folder, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
}

std::string NoWritePermission(const fs::path& folder) {
    WritePreviousExport(folder / kTargetName);
    RemoveWritePermission(folder);
    return BecomeNobody();
}

std::string FolderGone(const fs::path& folder) {
    fs::create_directory(folder / "gone");
    fs::remove(folder / "gone");
    return {};
}

// A 64 KiB disk of the child's own over the folder, filled up to its last two pages. Mounting
// needs root, which the test command has.
std::string SmallFullDisk(const fs::path& folder) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tavrola-test", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
        return std::string("cannot mount a small tmpfs: ") + std::strerror(errno);
    }
    WritePreviousExport(folder / kTargetName);
    struct statvfs space {};
    ::statvfs(folder.c_str(), &space);
    const std::uint64_t left = 2 * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t available = space.f_bavail * space.f_frsize;
    std::ofstream(folder / "filler", std::ios::binary) << std::string(available - left, 'x');
    return {};
}

// The target's name is a link to the previous export in a folder of its own.
std::string LinkIntoAnotherFolder(const fs::path& folder) {
    fs::create_directory(folder / "real");
    WritePreviousExport(folder / "real" / "take.mid");
    fs::create_symlink(fs::path("real") / "take.mid", folder / kTargetName);
    return {};
}

std::string LinkIntoLockedFolder(const fs::path& folder) {
    LinkIntoAnotherFolder(folder);
    RemoveWritePermission(folder / "real");
    fs::permissions(folder, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    return BecomeNobody();
}

std::string LinkToNothing(const fs::path& folder) {
    fs::create_symlink("missing.mid", folder / kTargetName);
    return {};
}

std::string FolderOfTheName(const fs::path& folder) {
    fs::create_directory(folder / kTargetName);
    return {};
}

// A file nobody may write, in a folder everybody may.
std::string ReadOnlyPrevious(const fs::path& folder) {
    WritePreviousExport(folder / kTargetName);
    fs::permissions(folder / kTargetName, fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(folder, fs::perms::all);
    return BecomeNobody();
}

// As in /tmp: a folder with the sticky bit, holding another user's file.
std::string OthersFileInStickyFolder(const fs::path& folder) {
    if (::geteuid() != 0) {
        return "giving a file to another user needs root";
    }
    WritePreviousExport(folder / kTargetName);
    constexpr uid_t kDaemon = 1;
    if (::chown((folder / kTargetName).c_str(), kDaemon, kDaemon) != 0) {
        return "cannot give the file away";
    }
    fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
    return BecomeNobody();
}

struct TargetCase {
    const char* name;
    TargetSetUp set_up;
    ExportResult expected;
    // Every name in the folder afterwards, with those in its subfolders.
    std::vector<std::string> names_left;
    // What the target's name holds afterwards: "previous", "new" or "nothing", then ", link"
    // when it is still a link and ", mode 440" when it kept that mode.
    std::string target_holds;
    const char* target = kTargetName;  // within the folder
    // The same performance rendered as an audio file of this type instead.
    std::optional<AudioFileType> audio = std::nullopt;
};

void PrintTo(const TargetCase& c, std::ostream* out) {
    *out << c.name;
}

std::string WhatTheTargetHolds(const fs::path& target) {
    const std::string content = testing::ReadWholeFile(target);
    std::string holds = content == kPreviousExport ? "previous"
                        : content.rfind("MThd", 0) == 0 || content.rfind("RIFF", 0) == 0
                            ? "new"
                            : "nothing";
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        holds += ", link";
    }
    const fs::perms mode = fs::status(target, error).permissions();
    if (!error && holds != "nothing" &&
        mode != (fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                 fs::perms::others_read)) {
        char octal[8];
        std::snprintf(octal, sizeof octal, "%o", static_cast<unsigned>(mode));
        holds += std::string(", mode ") + octal;
    }
    return holds;
}

class ExportToTarget : public ::testing::TestWithParam<TargetCase> {};

// Runs the set-up and the export in a child process, which may leave root or mount a disk of its
// own, and gives back what it saw: the result, the folder's names and what the target holds.
std::string ExportInChild(const TargetCase& c, const fs::path& folder) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::umask(022);
        std::string report = c.set_up(folder);
        if (report.empty() && c.audio && !FirstUsableSoundFont(SoundFontCandidates())) {
            report = "no General MIDI SoundFont installed";
        }
        if (report.empty()) {
            // A written audio file is short: rendering takes its time.
            const std::int64_t pairs = c.audio && c.expected == ExportResult::kSuccess ? 4 : 2000;
            const ExportResult result =
                c.audio ? WriteAudioFile(LongPerformance(pairs), *c.audio, folder / c.target)
                        : WriteMidiFile(LongPerformance(), folder / c.target);
            report = "result " + std::to_string(static_cast<int>(result)) + "; names";
            for (const std::string& name : NamesIn(folder)) {
                report += " " + name;
            }
            report += "; target " + WhatTheTargetHolds(folder / kTargetName);
        } else {
            report = "skip " + report;
        }
        const ssize_t written = ::write(channel[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return report;
}

// An export replaces a whole file where the target's name leads, or nothing: a write that fails,
// and a target refused before any work, say why by a result of their own, leave no file of their
// own and leave the file they were to replace as it was.
TEST_P(ExportToTarget, ReplacesAWholeFileWhereTheNameLeadsOrNothing) {
    const TargetCase& c = GetParam();
    testing::TempFolder folder;
    const std::string report = ExportInChild(c, folder.path());
    for (const fs::path& locked : {folder.path(), folder.path() / "real"}) {
        std::error_code ignored;
        fs::permissions(locked, fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    if (report.rfind("skip ", 0) == 0) {
        GTEST_SKIP() << report.substr(5);
    }
    std::string expected = "result " + std::to_string(static_cast<int>(c.expected)) + "; names";
    for (const std::string& name : c.names_left) {
        expected += " " + name;
    }
    expected += "; target " + c.target_holds;
    EXPECT_EQ(report, expected);
}

constexpr const char* kGone = "gone/performance.mid";
constexpr AudioFileType kAudio = AudioFileType::kWav;
// LAME's encoder tells of a failed write only through the library's error state.
constexpr AudioFileType kMp3 = AudioFileType::kMp3;
using R = ExportResult;
// clang-format off
const TargetCase kTargetCases[] = {
    {"NoWritePermission", NoWritePermission, R::kFolderNotWritable, {kTargetName}, "previous"},
    {"FolderGone", FolderGone, R::kFolderMissing, {}, "nothing", kGone},
    {"DiskFull", SmallFullDisk, R::kDiskFull, {"filler", kTargetName}, "previous"},
    {"AudioFolderGone", FolderGone, R::kFolderMissing, {}, "nothing", kGone, kAudio},
    {"AudioDiskFull", SmallFullDisk, R::kDiskFull, {"filler", kTargetName}, "previous",
     kTargetName, kAudio},
    {"Mp3DiskFull", SmallFullDisk, R::kDiskFull, {"filler", kTargetName}, "previous",
     kTargetName, kMp3},
    {"LinkWrittenThrough", LinkIntoAnotherFolder, R::kSuccess,
     {kTargetName, "real", "real/take.mid"}, "new, link"},
    {"LinkIntoALockedFolder", LinkIntoLockedFolder, R::kLinkFolderNotWritable,
     {kTargetName, "real", "real/take.mid"}, "previous, link"},
    {"LinkToNothing", LinkToNothing, R::kDanglingLink, {kTargetName}, "nothing, link"},
    {"AudioOverAFolder", FolderOfTheName, R::kTargetIsFolder, {kTargetName}, "nothing",
     kTargetName, kAudio},
    {"AudioOverAReadOnlyFile", ReadOnlyPrevious, R::kSuccess, {kTargetName}, "new, mode 440",
     kTargetName, kAudio},
    {"AnotherUsersFileInAStickyFolder", OthersFileInStickyFolder, R::kOthersFile, {kTargetName},
     "previous"},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Exports, ExportToTarget, ::testing::ValuesIn(kTargetCases),
                         [](const ::testing::TestParamInfo<TargetCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace tavrola
