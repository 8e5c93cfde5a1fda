#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "audio/export/audio_file_writer.h"
#include "core/playback/performance_simulation.h"
#include "ui/dialogs/export_file_chooser.h"

class QWidget;

namespace tavrola {

// An audio export under way: the writer works on a thread of its own while a progress window
// beside the main window shows the percent and the time left, with Cancel. The GUI thread only
// looks in now and then, so the window goes on painting. Deleting the job cancels the export
// and waits for the worker, which leaves no file of its own behind.
class AudioExportJob : public QObject {
    Q_OBJECT

  public:
    AudioExportJob(QWidget* parent, SimulatedPerformance performance, ExportTarget target);
    ~AudioExportJob() override;
    AudioExportJob(const AudioExportJob&) = delete;
    AudioExportJob& operator=(const AudioExportJob&) = delete;

    void Cancel();
    QProgressDialog& Dialog() const { return *dialog_; }
    double Done() const { return progress_.done; }

  signals:
    // Once, on the GUI thread, when the worker has ended; kCancelled after Cancel().
    void finished(tavrola::ExportResult result);
    // The program's quit key, pressed in the progress window.
    void quitRequested();

  private:
    void Look();
    void ShowTimeLeft();

    const SimulatedPerformance performance_;
    const ExportTarget target_;
    AudioExportProgress progress_;
    std::atomic<bool> worker_done_ = false;
    ExportResult result_ = ExportResult::kWriteFailed;
    // A child of the main window, which may go first.
    QPointer<QProgressDialog> dialog_;
    QTimer look_;
    QElapsedTimer elapsed_;
    std::thread worker_;
};

}  // namespace tavrola
