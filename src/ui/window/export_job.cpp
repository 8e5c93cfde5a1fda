#include "ui/window/export_job.h"

#include <QKeySequence>
#include <QMetaObject>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QString>
#include <QTimer>
#include <cmath>
#include <utility>

#include "export/export_worker.h"
#include "export/face/main_window_buttons.h"
#include "export/file_names.h"
#include "ui/dialogs/export_file_chooser.h"

namespace tavrola {
namespace {

constexpr int kProgressSteps = 1000;
// Before this much has been done the time left is a guess not worth showing.
constexpr double kEnoughToEstimate = 0.01;
// A MIDI file is usually written before a window could be read.
constexpr int kMidiProgressDelayMs = 500;

QString Duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    const long long hours = whole / 3600;
    const long long minutes = whole / 60 % 60;
    if (hours > 0) {
        return ExportJob::tr("%1 時間 %2 分").arg(hours).arg(minutes);
    }
    if (minutes > 0) {
        return ExportJob::tr("%1 分 %2 秒").arg(minutes).arg(whole % 60);
    }
    return ExportJob::tr("%1 秒").arg(whole);
}

}  // namespace

ExportJob::ExportJob(QWidget* parent, ExportPlan plan)
    : name_(FromFilePath(plan.file->final_target().filename())) {
    const ExportFormat format = plan.format;
    auto* dialog = new QProgressDialog(parent);
    dialog_ = dialog;
    dialog->setWindowTitle(ExportTitle(format.kind));
    dialog->setCancelButtonText(tr("キャンセル"));
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
    worker_ = std::make_unique<ExportWorker>(std::move(plan));
    connect(worker_.get(), &ExportWorker::progressed, this, &ExportJob::ShowProgress);
    connect(worker_.get(), &ExportWorker::finished, this, &ExportJob::Finish);
}

ExportJob::~ExportJob() {
    worker_.reset();
    delete dialog_.data();
}

QProgressDialog& ExportJob::Dialog() const {
    return *Progress();
}

QProgressDialog* ExportJob::Progress() const {
    return static_cast<QProgressDialog*>(dialog_.data());
}

double ExportJob::Done() const {
    return worker_->Done();
}

void ExportJob::Cancel() {
    worker_->Cancel();
    QProgressDialog* dialog = Progress();
    if (dialog == nullptr) {
        return;
    }
    dialog->setLabelText(tr("キャンセルしています…"));
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
    if (!worker_->Cancelled()) {
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
                             ? tr("残り時間を見積もっています…")
                             : tr("残り 約 %1")
                                   .arg(Duration(static_cast<double>(elapsed_.elapsed()) / 1000.0 *
                                                 (1.0 - done) / done));
    dialog->setLabelText(tr("「%1」に書き出しています。\n%2").arg(name_, left));
}

}  // namespace tavrola
