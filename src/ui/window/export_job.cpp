#include "ui/window/export_job.h"

#include <QKeySequence>
#include <QMetaObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "export/face/main_window_buttons.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/widgets/background_pool.h"

namespace tavrola {
namespace {

constexpr int kProgressSteps = 1000;
// Before this much has been done the time left is a guess not worth showing.
constexpr double kEnoughToEstimate = 0.01;
// A MIDI file is usually written before a window could be read.
constexpr int kMidiProgressDelayMs = 500;
// A worker told to stop ends within a block of sound or a stretch of ticks; one that is
// flushing its file to disk is left to finish on its own.
constexpr auto kLongestWaitForWorker = std::chrono::milliseconds(100);

QString Duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    const long long hours = whole / 3600;
    const long long minutes = whole / 60 % 60;
    if (hours > 0) {
        return QStringLiteral("%1 時間 %2 分").arg(hours).arg(minutes);
    }
    if (minutes > 0) {
        return QStringLiteral("%1 分 %2 秒").arg(minutes).arg(whole % 60);
    }
    return QStringLiteral("%1 秒").arg(whole);
}

}  // namespace

// What the export's thread works with. Shared, so a worker left flushing when the job goes
// still has all it touches.
struct ExportJob::Worker {
    explicit Worker(ExportPlan plan_in) : plan(std::move(plan_in)) {}

    void Run() {
        const ExportOutcome outcome = RunExport(plan, progress);
        std::lock_guard lock(mutex);
        ended = true;
        ended_changed.notify_all();
        if (job != nullptr) {
            QMetaObject::invokeMethod(
                job, [job = job, outcome] { job->Finish(outcome); }, Qt::QueuedConnection);
        }
    }
    void Tell(double done) {
        std::lock_guard lock(mutex);
        if (job != nullptr) {
            QMetaObject::invokeMethod(
                job, [job = job, done] { job->ShowProgress(done); }, Qt::QueuedConnection);
        }
    }

    const ExportPlan plan;
    WorkProgress progress{[this](double done) { Tell(done); }};
    std::mutex mutex;
    // Whom to tell; cleared when the job goes, under the mutex, so no call is posted to a job
    // being deleted.
    ExportJob* job = nullptr;
    bool ended = false;
    std::condition_variable ended_changed;
};

ExportJob::ExportJob(QWidget* parent, ExportPlan plan)
    : worker_(std::make_shared<Worker>(std::move(plan))),
      name_(FromFilePath(worker_->plan.file->final_target().filename())) {
    const ExportFormat format = worker_->plan.format;
    auto* dialog = new QProgressDialog(parent);
    dialog_ = dialog;
    dialog->setWindowTitle(ExportTitle(format.kind));
    dialog->setCancelButtonText(QStringLiteral("キャンセル"));
    dialog->setRange(0, kProgressSteps);
    dialog->setMinimumDuration(0);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    // The main window stays on the screen and is repainted; it takes only the quit meanwhile.
    dialog->setWindowModality(Qt::NonModal);
    dialog->setMinimumWidth(360);
    ShowTimeLeft(0.0);
    connect(dialog, &QProgressDialog::canceled, this, &ExportJob::Cancel);
    // The quit works here as in the main window: it cancels the export and ends the program.
    auto* quit = new QShortcut(
        QKeySequence(QString::fromLatin1(MainWindowButtonFor(kExitButtonKey).shortcut)), dialog);
    connect(quit, &QShortcut::activated, this, &ExportJob::quitRequested);
    if (format.kind == ExportKind::kMidi) {
        QTimer::singleShot(kMidiProgressDelayMs, this, [this] {
            if (QProgressDialog* shown = Progress(); shown != nullptr && !ended_) {
                shown->show();
            }
        });
    } else {
        dialog->show();
    }

    elapsed_.start();
    worker_->job = this;
    BackgroundPool().start([worker = worker_] { worker->Run(); });
}

ExportJob::~ExportJob() {
    worker_->progress.Cancel();
    AbandonExport(worker_->plan);
    std::unique_lock lock(worker_->mutex);
    worker_->job = nullptr;
    worker_->ended_changed.wait_for(lock, kLongestWaitForWorker, [this] { return worker_->ended; });
    lock.unlock();
    delete dialog_.data();
}

QProgressDialog& ExportJob::Dialog() const {
    return *Progress();
}

QProgressDialog* ExportJob::Progress() const {
    return static_cast<QProgressDialog*>(dialog_.data());
}

double ExportJob::Done() const {
    return worker_->progress.Done();
}

void ExportJob::Cancel() {
    worker_->progress.Cancel();
    // The files go now, even while the worker still flushes them.
    AbandonExport(worker_->plan);
    QProgressDialog* dialog = Progress();
    if (dialog == nullptr) {
        return;
    }
    dialog->setLabelText(QStringLiteral("キャンセルしています…"));
    if (QPushButton* button = dialog->findChild<QPushButton*>()) {
        button->setEnabled(false);
    }
}

void ExportJob::ShowProgress(double done) {
    QProgressDialog* dialog = Progress();
    if (ended_ || dialog == nullptr) {
        return;
    }
    dialog->setValue(static_cast<int>(done * kProgressSteps));
    if (!worker_->progress.Cancelled()) {
        ShowTimeLeft(done);
    }
}

void ExportJob::Finish(const ExportOutcome& outcome) {
    ended_ = true;
    if (QProgressDialog* dialog = Progress()) {
        dialog->hide();
    }
    emit finished(outcome);
}

void ExportJob::ShowTimeLeft(double done) {
    QProgressDialog* dialog = Progress();
    if (dialog == nullptr) {
        return;
    }
    const QString left = done < kEnoughToEstimate
                             ? QStringLiteral("残り時間を見積もっています…")
                             : QStringLiteral("残り 約 %1")
                                   .arg(Duration(static_cast<double>(elapsed_.elapsed()) / 1000.0 *
                                                 (1.0 - done) / done));
    dialog->setLabelText(QStringLiteral("「%1」に書き出しています。\n%2").arg(name_, left));
}

}  // namespace tavrola
