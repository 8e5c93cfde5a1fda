#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <utility>

namespace tavrola {

// Between long work on a worker thread (an export) and whoever waits for it: how far it has
// come (0 to 1), whether it should stop, and a listener told of the progress now and then. The
// worker calls Advance and Cancelled; any thread may call Cancel and Done.
class WorkProgress {
  public:
    // Told of the progress on the worker's thread, at most once a thousandth of the work or a
    // fifth of a second, and once at the end. Set it before the work starts.
    using Listener = std::function<void(double done)>;

    WorkProgress() = default;
    explicit WorkProgress(Listener listener) : listener_(std::move(listener)) {}
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    void Advance(double done);
    double Done() const { return done_; }

    void Cancel() { cancel_ = true; }
    bool Cancelled() const { return cancel_; }

  private:
    std::atomic<double> done_{0.0};
    std::atomic<bool> cancel_{false};
    Listener listener_;
    double told_ = -1.0;
    std::chrono::steady_clock::time_point told_at_;
};

// One stage of a piece of work, as a stretch of its progress: Advance(0..1) moves the whole
// from `begin` to `end`. Without a progress it does nothing and is never cancelled.
struct ProgressStage {
    WorkProgress* progress = nullptr;
    double begin = 0.0;
    double end = 1.0;

    void Advance(double part) const {
        if (progress != nullptr) {
            progress->Advance(begin + (end - begin) * part);
        }
    }
    bool Cancelled() const { return progress != nullptr && progress->Cancelled(); }
};

}  // namespace tavrola
