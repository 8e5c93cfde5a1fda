#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tavrola::testing {

// What a process has cost so far, read from /proc.
struct ProcessUsage {
    double cpu_seconds = 0;
    // Context switches of each thread by its id: every time it went to sleep or was put aside.
    std::map<std::string, long> switches_by_thread;
};

// Wake-ups from one reading to a later one: a thread that ended in between drops out, a new
// one counts from its start.
inline long WakeUpsBetween(const ProcessUsage& before, const ProcessUsage& after) {
    long wake_ups = 0;
    for (const auto& [thread, switches] : after.switches_by_thread) {
        const auto earlier = before.switches_by_thread.find(thread);
        wake_ups += switches - (earlier == before.switches_by_thread.end() ? 0 : earlier->second);
    }
    return wake_ups;
}

// CPU seconds in a /proc stat line (user and system time).
inline double CpuSecondsIn(const std::filesystem::path& stat_file) {
    std::ifstream stat(stat_file);
    const std::string line(std::istreambuf_iterator<char>(stat), {});
    const std::size_t after_name = line.rfind(')');
    if (after_name == std::string::npos) {
        return 0;
    }
    // After the command's closing parenthesis, utime and stime are the 12th and 13th fields.
    std::istringstream fields(line.substr(after_name + 1));
    const std::vector<std::string> values(std::istream_iterator<std::string>(fields), {});
    if (values.size() < 13) {
        return 0;
    }
    return (std::stod(values[11]) + std::stod(values[12])) /
           static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The usage of process `pid` so far: all of it, or only that of its threads named
// `thread_name`. Threads that have ended count in the whole only.
inline ProcessUsage UsageOf(pid_t pid, std::string_view thread_name = {}) {
    const std::filesystem::path process = "/proc/" + std::to_string(pid);
    ProcessUsage usage;
    if (thread_name.empty()) {
        usage.cpu_seconds = CpuSecondsIn(process / "stat");
    }
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(process / "task", error)) {
        if (!thread_name.empty()) {
            std::ifstream comm(task.path() / "comm");
            std::string name;
            std::getline(comm, name);
            if (name != thread_name) {
                continue;
            }
            usage.cpu_seconds += CpuSecondsIn(task.path() / "stat");
        }
        std::ifstream status(task.path() / "status");
        long& switches = usage.switches_by_thread[task.path().filename().string()];
        for (std::string line; std::getline(status, line);) {
            if (line.find("ctxt_switches:") != std::string::npos) {
                switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    return usage;
}

}  // namespace tavrola::testing
