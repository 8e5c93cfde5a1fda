// What the real program costs at rest and while playing. Each program given runs on a virtual
// desktop with its sound going to the tests' own headless PulseAudio; after the settle time
// this reports the process's CPU over 20 s idle and over 20 s playing a typed sequence, the
// sound server's CPU over the same spans, how often each wakes, and the output latency the
// server reports for the program's stream while it plays, and beside it what the same music
// costs rendered offline by the export's synthesiser. With --start-up it reports instead
// how long each program takes from exec to its mapped window (median of five) with the sound
// server live, stalled (SIGSTOP: it takes connections but answers nothing) and absent.
//
// Usage: tavrola_audio_cpu [--start-up] [--settle SECONDS] [--span SECONDS] PROGRAM...
// (bench/measure_audio_cpu builds it and measures build/app/tavrola)

#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/export/audio_file_writer.h"
#include "audio/pulse_synth_stream.h"
#include "core/helix/helix_geometry.h"
#include "core/helix/sphere_layer.h"
#include "core/music/performance_state.h"
#include "core/music/program_random.h"
#include "core/playback/performance_simulation.h"
#include "core/sequence/base_sequence.h"
#include "support/button_centre.h"
#include "support/desktop_session.h"
#include "support/headless_pulse.h"
#include "support/process_usage.h"

namespace {

using tavrola::testing::HeadlessPulse;
using tavrola::testing::ProcessUsage;
using tavrola::testing::UsageOf;
using tavrola::testing::VirtualDesktop;
using tavrola::testing::WakeUpsBetween;

struct Span {
    double program_percent = 0;
    double program_wakeups = 0;                  // per second
    std::optional<double> audio_thread_percent;  // where the program names its audio thread
    double server_percent = 0;
    double server_wakeups = 0;
};

Span MeasureSpan(pid_t program, pid_t server, double seconds) {
    const ProcessUsage program_before = UsageOf(program);
    const ProcessUsage audio_before = UsageOf(program, tavrola::kAudioThreadName);
    const ProcessUsage server_before = UsageOf(server);
    VirtualDesktop::Pause(static_cast<int>(seconds * 1000));
    const ProcessUsage program_after = UsageOf(program);
    const ProcessUsage audio_after = UsageOf(program, tavrola::kAudioThreadName);
    const ProcessUsage server_after = UsageOf(server);
    const auto percent = [seconds](const ProcessUsage& before, const ProcessUsage& after) {
        return 100 * (after.cpu_seconds - before.cpu_seconds) / seconds;
    };
    const auto per_second = [seconds](const ProcessUsage& before, const ProcessUsage& after) {
        return static_cast<double>(WakeUpsBetween(before, after)) / seconds;
    };
    Span span{.program_percent = percent(program_before, program_after),
              .program_wakeups = per_second(program_before, program_after),
              .audio_thread_percent = std::nullopt,
              .server_percent = percent(server_before, server_after),
              .server_wakeups = per_second(server_before, server_after)};
    if (!audio_after.switches_by_thread.empty()) {
        span.audio_thread_percent = percent(audio_before, audio_after);
    }
    return span;
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

// The sequence typed into the window for the playing span.
std::string PlayedSequence() {
    std::string sequence;
    for (int i = 0; i < 10; ++i) {
        sequence += "gattacagcatc";
    }
    return sequence;
}

// What the same music costs rendered offline: the export's synthesiser writing the whole
// performance the window plays (its default instruments and timing, the typed sequence) to a
// WAV file, in % of one core over the music's length; nothing when it could not be written.
std::optional<double> OfflineRenderPercent(const std::filesystem::path& folder) {
    tavrola::PerformanceState state;
    tavrola::SetPerformanceDefaults(state, "/");
    tavrola::SphereLayer layer;
    tavrola::ProgramRandom random;
    tavrola::SetUpSphereLayer(layer, tavrola::kSphereLayerWidth, tavrola::kSphereLayerHeight,
                              random);
    tavrola::BuildStartUpSpheres(layer, state.pair_count, random);
    tavrola::InstallSequence(state, tavrola::ParseSequenceText(PlayedSequence()));
    tavrola::RecomputeHelix(state, layer, random);
    const tavrola::SimulatedPerformance performance =
        tavrola::SimulatePerformance(state, layer.table, random);
    const auto cpu_seconds = [] {
        timespec used{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
        return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
    };
    const double before = cpu_seconds();
    if (tavrola::WriteAudioFile(performance, tavrola::AudioFileType::kWav, folder / "offline") !=
        tavrola::ExportResult::kSuccess) {
        return std::nullopt;
    }
    const double music_seconds =
        static_cast<double>(tavrola::AudioExportFrameOfTick(performance.stop_tick)) /
        tavrola::kAudioExportSampleRate;
    return 100 * (cpu_seconds() - before) / music_seconds;
}

struct Result {
    std::string program;
    Span idle;
    Span playing;
    std::vector<double> latencies_ms;
    std::optional<double> offline_percent;  // the same music rendered offline
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
    desktop.Type(PlayedSequence());
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
    result.offline_percent = OfflineRenderPercent(folder);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}

// Watches the X server for windows being mapped: it tells the moment itself, where polling
// (an xdotool every few milliseconds) would take from the start-up the CPU it measures.
class MapWatch {
  public:
    explicit MapWatch(const std::string& display)
        : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_) != 0) {
            return;
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~MapWatch() { xcb_disconnect(connection_); }
    MapWatch(const MapWatch&) = delete;
    MapWatch& operator=(const MapWatch&) = delete;

    bool connected() const { return xcb_connection_has_error(connection_) == 0; }

    // When a top-level window of this title was mapped, as soon as the server tells; nothing
    // when none was by the deadline.
    std::optional<std::chrono::steady_clock::time_point> WaitForMap(
        const std::string& title, std::chrono::steady_clock::time_point deadline) {
        pollfd watched{.fd = xcb_get_file_descriptor(connection_), .events = POLLIN, .revents = 0};
        while (connected()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const auto now = std::chrono::steady_clock::now();
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                const xcb_window_t window =
                    mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
                std::free(event);
                if (mapped && TitleOf(window) == title) {
                    return now;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return std::nullopt;
            }
            ::poll(&watched, 1, static_cast<int>(left.count()));
        }
        return std::nullopt;
    }

  private:
    std::string TitleOf(xcb_window_t window) {
        const xcb_get_property_cookie_t cookie = xcb_get_property(
            connection_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
        if (reply == nullptr) {
            return {};
        }
        const std::string title(static_cast<const char*>(xcb_get_property_value(reply)),
                                static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        std::free(reply);
        return title;
    }

    xcb_connection_t* connection_;
};

// Milliseconds from exec to the program's window on the screen; nothing when it took over 90 s.
std::optional<double> MillisecondsToWindow(MapWatch& watch, const std::string& program,
                                           const std::vector<std::string>& environment,
                                           const std::filesystem::path& folder) {
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid =
        tavrola::testing::SpawnInFolder(folder, {program}, environment, folder / "program.log");
    std::optional<double> shown;
    if (pid > 0 && watch.connected()) {
        if (const auto mapped = watch.WaitForMap("Tavrola", started + std::chrono::seconds(90))) {
            shown = std::chrono::duration<double, std::milli>(*mapped - started).count();
        }
    }
    tavrola::testing::StopProgram(pid, SIGKILL);
    VirtualDesktop::Pause(300);  // the window's last trace leaves the screen
    return shown;
}

int MeasureStartUp(const std::vector<std::string>& programs) {
    char folder_template[] = "/tmp/tavrola-start-up-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(folder_template);
    VirtualDesktop desktop(folder);
    HeadlessPulse server;
    // One connection for every run: a new one right after a killed client is sometimes refused.
    MapWatch watch(desktop.DisplayVariable().substr(std::string("DISPLAY=").size()));
    if (!desktop.running() || !server.running() || !watch.connected()) {
        std::printf("FAILED: Xvfb or the headless PulseAudio did not start\n");
        return 1;
    }
    constexpr int kRuns = 5;
    std::printf("exec to mapped window, median (min to max) of %d runs, in ms\n", kRuns);
    for (const std::string& program : programs) {
        std::printf("\n%s\n  load average (1, 5 min) %s\n", program.c_str(), LoadAverage().c_str());
        for (const char* situation : {"live", "stalled", "no server"}) {
            std::vector<std::string> environment =
                situation == std::string("no server")
                    ? std::vector<std::string>{"PULSE_SERVER=unix:" + (folder / "none").string()}
                    : server.environment();
            environment.push_back(desktop.DisplayVariable());
            environment.push_back("QT_QPA_PLATFORM=xcb");
            if (situation == std::string("stalled")) {
                server.Freeze();
            }
            std::vector<double> times;
            for (int run = 0; run < kRuns; ++run) {
                if (const std::optional<double> ms =
                        MillisecondsToWindow(watch, program, environment, folder)) {
                    times.push_back(*ms);
                }
            }
            server.Thaw();
            std::sort(times.begin(), times.end());
            if (times.empty()) {
                std::printf("  %-9s  no window within 90 s\n", situation);
            } else {
                std::printf("  %-9s  %7.0f  (%.0f to %.0f, %zu runs)\n", situation,
                            times[times.size() / 2], times.front(), times.back(), times.size());
            }
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    double settle = 10;
    double span = 20;
    std::vector<std::string> programs;
    bool start_up = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--start-up") {
            start_up = true;
        } else if ((argument == "--settle" || argument == "--span") && i + 1 < argc) {
            (argument == "--settle" ? settle : span) = std::stod(argv[++i]);
        } else {
            programs.push_back(std::filesystem::absolute(argument).string());
        }
    }
    if (programs.empty() || !VirtualDesktop::IsInstalled() || !HeadlessPulse::IsInstalled()) {
        std::cerr << "usage: tavrola_audio_cpu [--start-up] [--settle S] [--span S] PROGRAM...\n"
                     "needs Xvfb, xdotool, ImageMagick, pulseaudio and pulseaudio-utils\n";
        return 2;
    }
    if (start_up) {
        return MeasureStartUp(programs);
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
        for (const auto& [name, span] : {std::pair{"idle   ", r.idle}, {"playing", r.playing}}) {
            std::printf("  %s  program %5.2f %% (%6.1f wake-ups/s", name, span.program_percent,
                        span.program_wakeups);
            if (span.audio_thread_percent) {
                std::printf("; audio thread %4.2f %%", *span.audio_thread_percent);
            }
            std::printf(")  server %5.2f %% (%6.1f wake-ups/s)\n", span.server_percent,
                        span.server_wakeups);
        }
        if (r.latencies_ms.empty()) {
            std::printf("  latency  no stream seen while playing\n");
        } else {
            std::printf("  latency  %.1f to %.1f ms (stream buffer + sink, %zu readings)\n",
                        *std::min_element(r.latencies_ms.begin(), r.latencies_ms.end()),
                        *std::max_element(r.latencies_ms.begin(), r.latencies_ms.end()),
                        r.latencies_ms.size());
        }
        if (r.offline_percent) {
            std::printf("  offline  %5.2f %% (the whole performance rendered to WAV, 44.1 kHz)\n",
                        *r.offline_percent);
        }
    }
    return failures == 0 ? 0 : 1;
}
