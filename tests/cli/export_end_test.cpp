#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QTest>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "export/export_plan.h"
#include "export/export_worker.h"
#include "export/termination_signals.h"
#include "support/desktop_session.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/window/export_job.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A pipe whose buffer is full and which nobody reads: a write to it blocks, as one to a slow
// disk does.
struct FullPipe {
    int ends[2] = {-1, -1};
    FullPipe() {
        if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
            const std::string filler(4096, 'x');
            while (::write(ends[1], filler.data(), filler.size()) > 0) {
            }
            ::fcntl(ends[1], F_SETFL, 0);
        }
    }
    ~FullPipe() {
        ::close(ends[0]);  // a write still blocked then fails
        ::close(ends[1]);
    }
};

// Waits until a thread of the process is blocked in a write to `descriptor`, as /proc tells.
bool BlockedInWrite(pid_t pid, int descriptor) {
    std::ostringstream in_write;
    in_write << SYS_write << " 0x" << std::hex << descriptor << ' ';
    for (int waited = 0; waited < 500; ++waited) {
        std::error_code error;
        for (const auto& task :
             fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
            std::string call;
            std::getline(std::ifstream(task.path() / "syscall"), call);
            if (call.rfind(in_write.str(), 0) == 0) {
                return true;
            }
        }
        QTest::qWait(20);
    }
    return false;
}

// The command line ends on SIGTERM while its worker is blocked writing a progress line to a
// standard error nobody reads.
milliseconds EndTheCommandLine(const testing::TempFolder& folder, const FullPipe& blocked) {
    folder.Write("long.txt", std::string(300, 'g'));
    const std::string standard_error =
        "/proc/" + std::to_string(::getpid()) + "/fd/" + std::to_string(blocked.ends[1]);
    const pid_t pid = testing::SpawnInFolder(
        folder.path(), {TAVROLA_EXECUTABLE, "--export", "long.flac", "long.txt"},
        {"DISPLAY=", "PULSE_SERVER=unix:/nonexistent/tavrola-test"}, standard_error);
    EXPECT_TRUE(BlockedInWrite(pid, STDERR_FILENO)) << "the progress line's write";
    const auto told = Clock::now();
    ::kill(pid, SIGTERM);
    EXPECT_EQ(testing::WaitForExit(pid, std::chrono::seconds(10)), 128 + SIGTERM);
    fs::remove(folder.path() / "long.txt");
    return std::chrono::duration_cast<milliseconds>(Clock::now() - told);
}

// The window's run ends while its export's worker is blocked writing the MIDI file itself.
milliseconds EndTheWindow(const testing::TempFolder& folder, const FullPipe& blocked) {
    testing::RecordingMidiFactory midi;
    CTavrolaAppDlg window(std::ref(midi), 60000);
    window.Performance().InstallSequence(ParseSequenceText(std::string(200, 'g')));
    ExportPlan plan;
    EXPECT_TRUE(PrepareExport(window.Performance().Snapshot(), {}, folder.path() / "a.mid",
                              ExistingFile::kKeep, plan)
                    .Succeeded());
    const int file = plan.file->descriptor();
    ::dup2(blocked.ends[1], file);
    window.StartExport(std::move(plan));
    EXPECT_TRUE(BlockedInWrite(::getpid(), file)) << "the MIDI file's write";
    const auto told = Clock::now();
    window.reject();
    return std::chrono::duration_cast<milliseconds>(Clock::now() - told);
}

// Both front ends end within the worker's 100 ms while its export is blocked in a write: the
// export's files go at once, and the worker, which owns everything it touches, is left to
// itself rather than waited for.
TEST(ExportEnd, BothFrontEndsEndAtOnceWhileTheWorkerIsBlockedInAWrite) {
    IgnoreSignalsOfFailedWrites();
    const std::pair<const char*,
                    std::function<milliseconds(const testing::TempFolder&, const FullPipe&)>>
        front_ends[] = {{"the command line", EndTheCommandLine}, {"the window", EndTheWindow}};
    // Beside the wait itself: the signal's way to the event loop, the process's end.
    constexpr milliseconds kSlack{200};
    for (const auto& [front_end, end] : front_ends) {
        const testing::TempFolder folder;
        const FullPipe blocked;
        const milliseconds took = end(folder, blocked);
        EXPECT_LT(took, kLongestWaitForWorker + kSlack) << front_end;
        EXPECT_TRUE(testing::NamesIn(folder.path()).empty()) << front_end << ": nothing left";
    }
}

}  // namespace
}  // namespace tavrola
