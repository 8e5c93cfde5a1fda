#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace tavrola::testing {

// Where an executable of that name is on PATH, if anywhere.
inline std::optional<std::filesystem::path> FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

// Starts a program with extra environment variables and its output in `log`; -1 on failure.
inline pid_t SpawnProgram(const std::vector<std::string>& arguments,
                          const std::vector<std::string>& extra_environment,
                          const std::filesystem::path& output, const std::filesystem::path& log) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    // The extras replace inherited variables of the same name: with two entries, which one a
    // program reads depends on how it looks (the sanitizer runtime, for one, reads the last).
    const auto name_of = [](std::string_view variable) {
        return variable.substr(0, variable.find('='));
    };
    std::vector<char*> envp;
    for (const std::string& variable : extra_environment) {
        envp.push_back(const_cast<char*>(variable.c_str()));
    }
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view name = name_of(*variable);
        const bool replaced =
            std::any_of(extra_environment.begin(), extra_environment.end(),
                        [&](const std::string& extra) { return name_of(extra) == name; });
        if (!replaced) {
            envp.push_back(*variable);
        }
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Runs a program to its end; its exit status, or -1.
inline int RunProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extra_environment,
                      const std::filesystem::path& log) {
    const pid_t pid = SpawnProgram(arguments, extra_environment, "/dev/null", log);
    int status = 0;
    if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// Ends a program this test started, by its process id: politely, then firmly.
inline void StopProgram(pid_t pid, int signal_number) {
    if (pid <= 0) {
        return;
    }
    ::kill(pid, signal_number);
    for (int waited = 0; waited < 200; ++waited) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

// A PulseAudio server of the test's own: headless, one null sink whose monitor can be
// recorded, its sockets and state in a private folder. While it lives, this process's sound
// goes to it (PULSE_SERVER). It also runs as root, where PulseAudio otherwise insists on
// system mode.
class HeadlessPulse {
  public:
    static constexpr const char* kSinkName = "tavrola_test_sink";

    static bool IsInstalled() {
        return FindOnPath("pulseaudio") && FindOnPath("parec") && FindOnPath("pactl");
    }

    HeadlessPulse() {
        char folder_template[] = "/tmp/tavrola-pulse-XXXXXX";
        if (::mkdtemp(folder_template) == nullptr) {
            return;
        }
        folder_ = folder_template;
        const std::filesystem::path socket = folder_ / "native";
        address_ = "unix:" + socket.string();
        environment_ = {"HOME=" + folder_.string(), "XDG_RUNTIME_DIR=" + folder_.string(),
                        "PULSE_RUNTIME_PATH=" + (folder_ / "runtime").string(),
                        "PULSE_STATE_PATH=" + (folder_ / "state").string(),
                        "PULSE_SERVER=" + address_};
        if (Start()) {
            const char* previous = std::getenv("PULSE_SERVER");
            previous_server_ = previous ? std::optional<std::string>(previous) : std::nullopt;
            ::setenv("PULSE_SERVER", address_.c_str(), 1);
            running_ = true;
        }
    }

    ~HeadlessPulse() {
        if (running_) {
            if (previous_server_) {
                ::setenv("PULSE_SERVER", previous_server_->c_str(), 1);
            } else {
                ::unsetenv("PULSE_SERVER");
            }
        }
        Thaw();
        StopProgram(pid_, SIGTERM);
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    HeadlessPulse(const HeadlessPulse&) = delete;
    HeadlessPulse& operator=(const HeadlessPulse&) = delete;

    bool running() const { return running_; }
    pid_t pid() const { return pid_; }

    // Ends the server as a crash would, leaving its folder and address for the next one.
    void Kill() {
        StopProgram(pid_, SIGKILL);
        pid_ = -1;
    }
    // Stops the server as a hung one would: it keeps its socket and connections and takes new
    // ones, but answers nothing until it thaws.
    void Freeze() const {
        if (pid_ > 0) {
            ::kill(pid_, SIGSTOP);
        }
    }
    void Thaw() const {
        if (pid_ > 0) {
            ::kill(pid_, SIGCONT);
        }
    }
    // Starts a server on the same socket; true once it listens there.
    bool Start() {
        const std::filesystem::path socket = folder_ / "native";
        std::error_code ignored;
        std::filesystem::remove(socket, ignored);  // a killed server leaves it behind
        pid_ = SpawnProgram(
            {FindOnPath("pulseaudio").value_or("pulseaudio").string(), "--daemonize=false",
             "--system=false", "--exit-idle-time=-1", "--disallow-exit", "-n",
             "--log-target=stderr", "--load=module-null-sink sink_name=" + std::string(kSinkName),
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket.string()},
            environment_, "/dev/null", folder_ / "server.log");
        for (int waited = 0; pid_ > 0 && waited < 500; ++waited) {
            if (std::filesystem::exists(socket)) {
                return true;
            }
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;  // it gave up; the log says why
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    const std::filesystem::path& folder() const { return folder_; }
    const std::vector<std::string>& environment() const { return environment_; }

    // What `pactl` with these arguments prints about this server.
    std::string Pactl(const std::vector<std::string>& arguments) const {
        std::vector<std::string> command = {FindOnPath("pactl").value_or("pactl").string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        const std::filesystem::path output = folder_ / "pactl.out";
        const pid_t pid = SpawnProgram(command, environment_, output, folder_ / "pactl.log");
        if (pid > 0) {
            ::waitpid(pid, nullptr, 0);
        }
        std::ifstream in(output);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // How many playback streams feed the server.
    int PlaybackStreamCount() const {
        const std::string listing = Pactl({"list", "short", "sink-inputs"});
        return static_cast<int>(std::count(listing.begin(), listing.end(), '\n'));
    }

    // How far behind the first playback stream's sound reaches the sink's output, in
    // milliseconds: what is queued for it plus the sink's own buffer; nothing without a stream.
    std::optional<double> PlaybackLatencyMs() const {
        const std::string inputs = Pactl({"list", "sink-inputs"});
        const auto microseconds_after =
            [&inputs](const std::string& label) -> std::optional<double> {
            const std::size_t at = inputs.find(label);
            if (at == std::string::npos) {
                return std::nullopt;
            }
            return std::strtod(inputs.c_str() + at + label.size(), nullptr);
        };
        const std::optional<double> buffer = microseconds_after("Buffer Latency:");
        const std::optional<double> sink = microseconds_after("Sink Latency:");
        if (!buffer || !sink) {
            return std::nullopt;
        }
        return (*buffer + *sink) / 1000.0;
    }

    std::string Log() const {
        std::ifstream log(folder_ / "server.log");
        return std::string(std::istreambuf_iterator<char>(log), {});
    }

  private:
    std::filesystem::path folder_;
    std::string address_;
    std::vector<std::string> environment_;
    std::optional<std::string> previous_server_;
    pid_t pid_ = -1;
    bool running_ = false;
};

// Records what the server's null sink plays, as mono 32-bit float samples at `kRate`.
class MonitorRecording {
  public:
    static constexpr int kRate = 48000;

    // Returns once sound flows live from the sink into the recording. Alone, the recording
    // sets the sink's blocks: a long latency makes it slow to begin a new stream.
    explicit MonitorRecording(const HeadlessPulse& server,
                              std::chrono::milliseconds latency = std::chrono::milliseconds(20))
        : file_(server.folder() / "monitor.raw") {
        const std::string sink = HeadlessPulse::kSinkName;
        pid_ = SpawnProgram(
            {FindOnPath("parec").value_or("parec").string(), "--device=" + sink + ".monitor",
             "--raw", "--format=float32le", "--rate=48000", "--channels=1",
             "--latency-msec=" + std::to_string(latency.count())},
            server.environment(), file_, server.folder() / "parec.log");
        if (pid_ <= 0) {
            return;
        }
        // A new null sink, asked for no latency yet, renders its first two seconds at once and
        // only then keeps pace with the clock: what the server's first seconds of "settling"
        // are. Suspending and resuming it restarts its clock at the latency the recording asks.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string pactl = FindOnPath("pactl").value_or("pactl").string();
        const std::filesystem::path log = server.folder() / "pactl.log";
        RunProgram({pactl, "suspend-sink", sink, "1"}, server.environment(), log);
        RunProgram({pactl, "suspend-sink", sink, "0"}, server.environment(), log);
        for (int waited = 0; waited < 500; ++waited) {
            std::error_code error;
            if (std::filesystem::file_size(file_, error) > 0 && !error) {
                live_ = true;
                live_since_ = std::chrono::steady_clock::now();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~MonitorRecording() { StopProgram(pid_, SIGTERM); }
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    // Recording, with sound flowing from the sink.
    bool live() const { return pid_ > 0 && live_; }
    // When the first sample reached the recording: sample i was heard i / kRate s later.
    std::chrono::steady_clock::time_point live_since() const { return live_since_; }

    // Ends the recording and returns every sample of it.
    std::vector<float> Stop() {
        StopProgram(pid_, SIGINT);
        pid_ = -1;
        std::ifstream raw(file_, std::ios::binary);
        std::vector<float> samples;
        float sample = 0;
        while (raw.read(reinterpret_cast<char*>(&sample), sizeof sample)) {
            samples.push_back(sample);
        }
        return samples;
    }

  private:
    std::filesystem::path file_;
    pid_t pid_ = -1;
    bool live_ = false;
    std::chrono::steady_clock::time_point live_since_;
};

}  // namespace tavrola::testing
