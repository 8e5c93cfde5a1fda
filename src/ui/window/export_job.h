#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "export/export_outcome.h"
#include "export/export_plan.h"

class QProgressDialog;
class QWidget;

namespace tavrola {

class ExportWorker;

// An export under way in the window: its worker works the performance out and writes it beside
// the window while a progress window shows the percent and the time left, with Cancel; the
// window goes on painting. A MIDI file, usually written in a moment, shows the progress window
// only when it takes longer.
//
// Deleting the job stops its worker: the export is cancelled and its file removed at once, the
// worker waited for a moment, never for a file being flushed to disk.
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
    void ShowProgress(double done);
    void Finish(const ExportOutcome& outcome);
    void ShowTimeLeft(double done);
    // Null once the main window, its parent, has taken it along.
    QProgressDialog* Progress() const;

    std::unique_ptr<ExportWorker> worker_;
    QString name_;
    // The progress window: a child of the main window, which may go first.
    QPointer<QObject> dialog_;
    QElapsedTimer elapsed_;
    bool ended_ = false;
};

}  // namespace tavrola
