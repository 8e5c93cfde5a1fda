#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "audio/export/export_result.h"
#include "ui/window/export_plan.h"

class QProgressDialog;
class QWidget;

namespace tavrola {

// An export under way: the performance is worked out and written on the background pool while
// a progress window beside the main window shows the percent and the time left, with Cancel.
// The worker hands its progress and its end to the GUI thread by queued calls, so the window
// goes on painting. A MIDI file, usually written in a moment, shows the progress window only
// when it takes longer.
//
// Deleting the job cancels the export and removes its file at once; it waits a moment for the
// worker to stop, never for a file being flushed to disk.
class ExportJob : public QObject {
    Q_OBJECT

  public:
    ExportJob(QWidget* parent, ExportPlan plan);
    ~ExportJob() override;
    ExportJob(const ExportJob&) = delete;
    ExportJob& operator=(const ExportJob&) = delete;

    void Cancel();
    QProgressDialog& Dialog() const;
    double Done() const;

  signals:
    // Once, on the GUI thread, when the worker has ended; kCancelled after Cancel().
    void finished(const tavrola::ExportOutcome& outcome);
    // The program's quit key, pressed in the progress window.
    void quitRequested();

  private:
    struct Worker;

    void ShowProgress(double done);
    void Finish(const ExportOutcome& outcome);
    void ShowTimeLeft(double done);
    // Null once the main window, its parent, has taken it along.
    QProgressDialog* Progress() const;

    std::shared_ptr<Worker> worker_;
    QString name_;
    // The progress window: a child of the main window, which may go first.
    QPointer<QObject> dialog_;
    QElapsedTimer elapsed_;
    bool ended_ = false;
};

}  // namespace tavrola
