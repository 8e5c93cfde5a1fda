#pragma once

#include <cassert>
#include <mutex>
#include <thread>
#include <utility>

namespace tavrola {

// A replaceable operation with a fallback: the program installs the real one at start-up, tests
// install a recorder or an answer, and nullptr puts the fallback back.
//
// Threads: installed and replaced only on the thread that made the hook, the GUI thread (checked
// in debug builds); fetched from any thread, as a copy taken under a lock, so that an operation
// replaced meanwhile (or replacing itself while it runs) stays alive for its caller.
//
// `Function` is the std::function type of the operation.
template <class Function>
class InstallableHook {
  public:
    explicit InstallableHook(Function fallback = {})
        : fallback_(std::move(fallback)), installed_(fallback_) {}

    // Installs `function` (nullptr: the fallback) and returns the one installed before.
    Function Install(Function function) {
        assert(owner_ == std::this_thread::get_id() && "a hook is installed on the GUI thread");
        std::lock_guard lock(mutex_);
        return std::exchange(installed_, function ? std::move(function) : fallback_);
    }
    Function Get() const {
        std::lock_guard lock(mutex_);
        return installed_;
    }

  private:
    const Function fallback_;
    mutable std::mutex mutex_;
    Function installed_;
    // The thread that made the hook on its first use: the GUI thread.
    const std::thread::id owner_ = std::this_thread::get_id();
};

}  // namespace tavrola
