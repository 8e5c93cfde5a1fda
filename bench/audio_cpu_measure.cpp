// What the real program costs at rest and while playing. Each program given runs on a virtual
// desktop with its sound going to the tests' own headless PulseAudio; after the settle time
// this reports the process's CPU over 20 s idle and over 20 s playing a typed sequence, the
// sound server's CPU over the same spans, how often each wakes, and the output latency the
// server reports for the program's stream while it plays.
//
// Usage: tavrola_audio_cpu [--settle SECONDS] [--span SECONDS] PROGRAM...
// (bench/measure_audio_cpu builds it and measures build/app/tavrola)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "support/button_centre.h"
#include "support/desktop_session.h"
#include "support/headless_pulse.h"
#include "support/process_usage.h"

namespace {

using tavrola::testing::HeadlessPulse;
using tavrola::testing::ProcessUsage;
using tavrola::testing::UsageOf;
using tavrola::testing::VirtualDesktop;

struct Span {
    double program_percent = 0;
    double program_wakeups = 0;  // per second
    double server_percent = 0;
    double server_wakeups = 0;
};

Span MeasureSpan(pid_t program, pid_t server, double seconds) {
    const ProcessUsage program_before = UsageOf(program);
    const ProcessUsage server_before = UsageOf(server);
    VirtualDesktop::Pause(static_cast<int>(seconds * 1000));
    const ProcessUsage program_after = UsageOf(program);
    const ProcessUsage server_after = UsageOf(server);
    const auto per_second = [seconds](long count) { return static_cast<double>(count) / seconds; };
    return Span{
        .program_percent = 100 * (program_after.cpu_seconds - program_before.cpu_seconds) / seconds,
        .program_wakeups = per_second(program_after.wake_ups - program_before.wake_ups),
        .server_percent = 100 * (server_after.cpu_seconds - server_before.cpu_seconds) / seconds,
        .server_wakeups = per_second(server_after.wake_ups - server_before.wake_ups)};
}

std::string LoadAverage() {
    std::ifstream loadavg("/proc/loadavg");
    std::string one;
    std::string five;
    loadavg >> one >> five;
    return one + " " + five;
}

void Click(const VirtualDesktop& desktop, tavrola::CommandKey key) {
    const auto at = tavrola::testing::ButtonCentre<tavrola::testing::ScreenPoint>(key);
    desktop.Click(at.x, at.y);
}

struct Result {
    std::string program;
    Span idle;
    Span playing;
    std::vector<double> latencies_ms;
    std::string load_before;
    std::string load_after;
    std::string failure;
};

Result Measure(const std::string& program, double settle, double span) {
    Result result;
    result.program = program;
    result.load_before = LoadAverage();
    char folder_template[] = "/tmp/tavrola-measure-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(folder_template);
    VirtualDesktop desktop(folder);
    HeadlessPulse server;
    if (!desktop.running() || !server.running()) {
        result.failure = "Xvfb or the headless PulseAudio did not start";
        return result;
    }
    std::vector<std::string> environment = server.environment();
    environment.push_back(desktop.DisplayVariable());
    environment.push_back("QT_QPA_PLATFORM=xcb");
    const pid_t pid =
        tavrola::testing::SpawnInFolder(folder, {program}, environment, folder / "program.log");
    if (pid <= 0 || !desktop.FocusWindow("Tavrola")) {
        result.failure = "the window did not appear; see " + (folder / "program.log").string();
        return result;
    }
    VirtualDesktop::Pause(static_cast<int>(settle * 1000));
    result.idle = MeasureSpan(pid, server.pid(), span);

    Click(desktop, tavrola::kDataButtonKey);
    if (!desktop.FocusWindow("Data")) {
        result.failure = "the Data dialog did not open";
        return result;
    }
    desktop.Keys({"Tab"});
    std::string sequence;
    for (int i = 0; i < 10; ++i) {
        sequence += "gattacagcatc";
    }
    desktop.Type(sequence);
    desktop.Keys({"Return"});
    VirtualDesktop::Pause(500);
    Click(desktop, tavrola::kStartButtonKey);
    VirtualDesktop::Pause(2000);  // the first pair sounds
    result.playing = MeasureSpan(pid, server.pid(), span);
    for (int sample = 0; sample < 5; ++sample) {
        if (const std::optional<double> latency = server.PlaybackLatencyMs()) {
            result.latencies_ms.push_back(*latency);
        }
        VirtualDesktop::Pause(300);
    }
    Click(desktop, tavrola::kStartButtonKey);
    Click(desktop, tavrola::kExitButtonKey);
    if (!tavrola::testing::WaitForExit(pid, std::chrono::seconds(15))) {
        tavrola::testing::StopProgram(pid, SIGKILL);
    }
    result.load_after = LoadAverage();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}

}  // namespace

int main(int argc, char* argv[]) {
    double settle = 10;
    double span = 20;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--settle" || argument == "--span") && i + 1 < argc) {
            (argument == "--settle" ? settle : span) = std::stod(argv[++i]);
        } else {
            programs.push_back(std::filesystem::absolute(argument).string());
        }
    }
    if (programs.empty() || !VirtualDesktop::IsInstalled() || !HeadlessPulse::IsInstalled()) {
        std::cerr << "usage: tavrola_audio_cpu [--settle S] [--span S] PROGRAM...\n"
                     "needs Xvfb, xdotool, ImageMagick, pulseaudio and pulseaudio-utils\n";
        return 2;
    }
    std::printf("settle %.0f s, spans of %.0f s; CPU in %% of one core\n", settle, span);
    int failures = 0;
    for (const std::string& program : programs) {
        const Result r = Measure(program, settle, span);
        std::printf("\n%s\n  load average (1, 5 min) %s before, %s after\n", program.c_str(),
                    r.load_before.c_str(), r.load_after.c_str());
        if (!r.failure.empty()) {
            std::printf("  FAILED: %s\n", r.failure.c_str());
            ++failures;
            continue;
        }
        std::printf("  idle     program %5.2f %% (%6.1f wake-ups/s)  server %5.2f %% (%6.1f/s)\n",
                    r.idle.program_percent, r.idle.program_wakeups, r.idle.server_percent,
                    r.idle.server_wakeups);
        std::printf("  playing  program %5.2f %% (%6.1f wake-ups/s)  server %5.2f %% (%6.1f/s)\n",
                    r.playing.program_percent, r.playing.program_wakeups, r.playing.server_percent,
                    r.playing.server_wakeups);
        if (r.latencies_ms.empty()) {
            std::printf("  latency  no stream seen while playing\n");
        } else {
            std::printf("  latency  %.1f to %.1f ms (stream buffer + sink, %zu readings)\n",
                        *std::min_element(r.latencies_ms.begin(), r.latencies_ms.end()),
                        *std::max_element(r.latencies_ms.begin(), r.latencies_ms.end()),
                        r.latencies_ms.size());
        }
    }
    return failures == 0 ? 0 : 1;
}
