#include "export/export_worker.h"

#include <QMetaObject>
#include <QPointer>
#include <QThreadPool>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

#include "export/background_pool.h"
#include "export/export_run.h"

namespace tavrola {
namespace {

// Workers whose front end stopped waiting for them before they ended.
std::atomic<int> g_workers_left{0};

}  // namespace

// What the worker's thread works with: shared, so a worker left flushing when its front end
// goes still has all it touches.
struct ExportWorker::Run {
    Run(ExportPlan plan_in, WorkProgress::Listener listener_in, ExportWorker* owner_in)
        : plan(std::move(plan_in)), listener(std::move(listener_in)), owner(owner_in) {}

    void Work() {
        const ExportOutcome outcome = RunExport(plan, progress);
        std::lock_guard lock(mutex);
        ended = true;
        ended_changed.notify_all();
        if (owner != nullptr) {
            QMetaObject::invokeMethod(
                owner, [owner = owner, outcome] { emit owner->finished(outcome); },
                Qt::QueuedConnection);
        } else if (left) {
            --g_workers_left;
        }
    }
    void Tell(double done) {
        if (listener) {
            listener(done);
        }
        std::lock_guard lock(mutex);
        if (owner != nullptr) {
            QMetaObject::invokeMethod(
                owner, [owner = owner, done] { emit owner->progressed(done); },
                Qt::QueuedConnection);
        }
    }

    const ExportPlan plan;
    const WorkProgress::Listener listener;
    WorkProgress progress{[this](double done) { Tell(done); }};
    std::mutex mutex;
    std::condition_variable ended_changed;
    // Whom to tell; cleared, under the mutex, when the worker object stops listening, so no
    // call is posted to an object being deleted.
    ExportWorker* owner;
    bool ended = false;
    bool left = false;  // its front end stopped waiting for it
};

ExportWorker::ExportWorker(ExportPlan plan, WorkProgress::Listener listener, QObject* parent)
    : QObject(parent), run_(std::make_shared<Run>(std::move(plan), std::move(listener), this)) {
    BackgroundPool().start([run = run_] { run->Work(); });
}

ExportWorker::~ExportWorker() {
    Stop();
}

void ExportWorker::Cancel() {
    run_->progress.Cancel();
    // The files go now, even while the worker still flushes them.
    AbandonExport(run_->plan);
}

bool ExportWorker::Stop() {
    Cancel();
    std::unique_lock lock(run_->mutex);
    if (run_->owner == nullptr) {
        return run_->ended;
    }
    run_->owner = nullptr;
    const bool ended =
        run_->ended_changed.wait_for(lock, kLongestWaitForWorker, [this] { return run_->ended; });
    if (!ended) {
        run_->left = true;
        ++g_workers_left;
    }
    return ended;
}

double ExportWorker::Done() const {
    return run_->progress.Done();
}

bool ExportWorker::Cancelled() const {
    return run_->progress.Cancelled();
}

const ExportPlan& ExportWorker::Plan() const {
    return run_->plan;
}

void EndAtOnceIfAWorkerRemains(int exit_status) {
    if (g_workers_left > 0) {
        // Standard error is unbuffered, and the worker may hold its lock.
        std::fflush(stdout);
        std::_Exit(exit_status);
    }
}

}  // namespace tavrola
