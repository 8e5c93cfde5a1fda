#include "ui/window/audio_export_job.h"

#include <QKeySequence>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QString>
#include <cmath>
#include <utility>

#include "ui/dialogs/file_chooser.h"
#include "ui/window/main_window_buttons.h"

namespace tavrola {
namespace {

constexpr int kProgressSteps = 1000;
constexpr int kLookEveryMs = 100;
// Before this much has been done the time left is a guess not worth showing.
constexpr double kEnoughToEstimate = 0.01;

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

AudioExportJob::AudioExportJob(QWidget* parent, SimulatedPerformance performance,
                               ExportTarget target)
    : performance_(std::move(performance)), target_(std::move(target)) {
    dialog_ = new QProgressDialog(parent);
    dialog_->setWindowTitle(QStringLiteral("音声ファイルに書き出す"));
    dialog_->setCancelButtonText(QStringLiteral("キャンセル"));
    dialog_->setRange(0, kProgressSteps);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    // The main window stays on the screen and is repainted; it takes only the quit meanwhile.
    dialog_->setWindowModality(Qt::NonModal);
    dialog_->setMinimumWidth(360);
    ShowTimeLeft();
    connect(dialog_.data(), &QProgressDialog::canceled, this, &AudioExportJob::Cancel);
    // The quit works here as in the main window: it cancels the export and ends the program.
    auto* quit = new QShortcut(
        QKeySequence(QString::fromLatin1(MainWindowButtonFor(kExitButtonKey).shortcut)),
        dialog_.data());
    connect(quit, &QShortcut::activated, this, &AudioExportJob::quitRequested);
    dialog_->show();

    elapsed_.start();
    worker_ = std::thread([this] {
        result_ = WriteAudioFile(performance_, target_.audio_type, target_.file, progress_);
        worker_done_ = true;
    });
    look_.setInterval(kLookEveryMs);
    connect(&look_, &QTimer::timeout, this, &AudioExportJob::Look);
    look_.start();
}

AudioExportJob::~AudioExportJob() {
    progress_.cancel = true;
    if (worker_.joinable()) {
        worker_.join();
    }
    delete dialog_.data();
}

void AudioExportJob::Cancel() {
    progress_.cancel = true;
    if (!dialog_) {
        return;
    }
    dialog_->setLabelText(QStringLiteral("キャンセルしています…"));
    if (QPushButton* button = dialog_->findChild<QPushButton*>()) {
        button->setEnabled(false);
    }
}

void AudioExportJob::Look() {
    if (!worker_done_ && dialog_) {
        dialog_->setValue(static_cast<int>(progress_.done * kProgressSteps));
        if (!progress_.cancel) {
            ShowTimeLeft();
        }
        return;
    }
    if (!worker_done_) {
        return;
    }
    look_.stop();
    worker_.join();
    if (dialog_) {
        dialog_->hide();
    }
    emit finished(result_);
}

void AudioExportJob::ShowTimeLeft() {
    if (!dialog_) {
        return;
    }
    const QString name = FromFilePath(target_.file.filename());
    const double done = progress_.done;
    const QString left = done < kEnoughToEstimate
                             ? QStringLiteral("残り時間を見積もっています…")
                             : QStringLiteral("残り 約 %1")
                                   .arg(Duration(static_cast<double>(elapsed_.elapsed()) / 1000.0 *
                                                 (1.0 - done) / done));
    dialog_->setLabelText(QStringLiteral("「%1」に書き出しています。\n%2").arg(name, left));
}

}  // namespace tavrola
