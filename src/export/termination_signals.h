#pragma once

#include <QObject>

class QSocketNotifier;

namespace tavrola {

// SIGTERM (a logout, a shutdown, `kill`), SIGINT (Ctrl+C in the terminal that started the
// program) and SIGHUP (that terminal closing), taken in while the object lives and delivered on
// the GUI thread as `received`: the handler only writes the signal's number into a pipe, which
// the event loop watches. One at a time per process; the default actions come back when it
// goes.
class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The first signal received, or 0.
    int Received() const { return received_; }
    // What the program exits with after a signal, as a shell reports it: 128 + its number.
    int ExitStatus() const { return received_ == 0 ? 0 : 128 + received_; }
    // Readable once a signal has come: a wait outside the event loop (a read of standard input)
    // watches it beside its own descriptor, then takes the signal in with Collect().
    int WakeDescriptor() const { return pipe_[0]; }
    void Collect() { Drain(); }

  signals:
    void received(int signal_number);

  private:
    void Drain();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    int received_ = 0;
};

// A reader of standard error that went away (`| head -n1`) or a file size limit makes a write
// fail instead of killing the program halfway through an export, which would leave a partial
// file behind: a failed progress line changes nothing, a failed export says so.
void IgnoreSignalsOfFailedWrites();

}  // namespace tavrola
