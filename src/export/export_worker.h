#pragma once

#include <QObject>
#include <chrono>
#include <memory>

#include "core/services/work_progress.h"
#include "export/export_outcome.h"
#include "export/export_plan.h"

namespace tavrola {

// A worker told to stop ends within a block of sound or a picture; one blocked in a write to a
// slow disk is waited for this long at most.
inline constexpr std::chrono::milliseconds kLongestWaitForWorker{100};

// One export run beside its front end, the same for the window and the command line: the plan
// runs at once on the background pool; `progressed` and `finished` come on the thread that made
// the worker, by queued calls, and never after it is gone. The worker's thread owns, or shares,
// everything it touches, so the front end may go without waiting for it.
class ExportWorker : public QObject {
    Q_OBJECT

  public:
    // `listener` hears the progress on the worker's own thread (the command line's progress
    // line, which must not hold up its event loop); it must own what it touches.
    explicit ExportWorker(ExportPlan plan, WorkProgress::Listener listener = {},
                          QObject* parent = nullptr);
    // Stop(), unless done already.
    ~ExportWorker() override;
    ExportWorker(const ExportWorker&) = delete;
    ExportWorker& operator=(const ExportWorker&) = delete;

    // Cancels the export and removes its files at once, without waiting for the worker (which
    // may be flushing them): it ends soon, committing nothing.
    void Cancel();
    // Cancels, then waits at most kLongestWaitForWorker for the worker to end; whether it did.
    // Nothing is told afterwards.
    bool Stop();

    double Done() const;
    bool Cancelled() const;
    const ExportPlan& Plan() const;

  signals:
    void progressed(double done);
    // Once, when the run has ended; a cancel after Cancel().
    void finished(const tavrola::ExportOutcome& outcome);

  private:
    struct Run;
    std::shared_ptr<Run> run_;
};

// Whether the worker of an export is still at work after its front end stopped it: the program
// then ends at once (_Exit, after flushing standard output) rather than tear down the libraries
// under a worker that may still use them; otherwise this returns.
void EndAtOnceIfAWorkerRemains(int exit_status);

}  // namespace tavrola
