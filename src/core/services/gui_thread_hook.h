#pragma once

#include <cassert>
#include <thread>
#include <utility>

namespace tavrola {

// A replaceable operation with a fallback: the program installs the real one at start-up, tests
// install a recorder or an answer, and nullptr puts the fallback back. It is installed, replaced
// and fetched on the GUI thread only (checked in debug builds); a worker that needs one is
// handed a copy fetched there.
// `Function` is the std::function type of the operation.
template <class Function>
class GuiThreadHook {
  public:
    explicit GuiThreadHook(Function fallback = {})
        : fallback_(std::move(fallback)), installed_(fallback_) {}

    // Installs `function` (nullptr: the fallback) and returns the one installed before.
    Function Install(Function function) {
        CheckThread();
        return std::exchange(installed_, function ? std::move(function) : fallback_);
    }
    // A copy, so that an operation which replaces itself while it runs stays alive.
    Function Get() const {
        CheckThread();
        return installed_;
    }

  private:
    void CheckThread() const {
        assert(thread_ == std::this_thread::get_id() && "a hook belongs to the GUI thread");
    }

    Function fallback_;
    Function installed_;
    // The thread that made the hook, on its first use: the GUI thread.
    std::thread::id thread_ = std::this_thread::get_id();
};

}  // namespace tavrola
