#include "cli/command_line_run.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <QtGlobal>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "audio/export/audio_file_writer.h"
#include "audio/export/file_beside_target.h"
#include "cli/cli_sentences.h"
#include "cli/command_line.h"
#include "cli/input_reading.h"
#include "core/music/midi_output.h"
#include "core/playback/performer.h"
#include "core/playback/playback_clock.h"
#include "export/export_format.h"
#include "export/export_outcome.h"
#include "export/export_plan.h"
#include "export/export_worker.h"
#include "export/face/translation.h"
#include "export/termination_signals.h"

namespace tavrola {
namespace {

void Say(const std::string& line) {
    std::fprintf(stderr, "tavrola: %s\n", line.c_str());
}

int Status(ExitStatus status) {
    return static_cast<int>(status);
}

// The help or the version on standard output, which may be a full device or a closed pipe.
int Print(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        Say(std::string("cannot write to standard output: ") + std::strerror(errno));
        return Status(ExitStatus::kOutput);
    }
    return Status(ExitStatus::kWritten);
}

// The export's progress on standard error: a line that counts up on a terminal, a line for
// every tenth elsewhere (a log keeps them all), nothing when asked for quiet.
class ProgressLine {
  public:
    ProgressLine(std::string name, bool quiet)
        : name_(std::move(name)), quiet_(quiet), live_(::isatty(STDERR_FILENO) == 1) {}

    void Show(double done) {
        const int percent = static_cast<int>(done * 100.0);
        if (quiet_ || percent == shown_ || (!live_ && percent / 10 == shown_ / 10)) {
            return;
        }
        shown_ = percent;
        if (live_) {
            std::fprintf(stderr, "\rtavrola: writing %s %3d%%", name_.c_str(), percent);
        } else {
            std::fprintf(stderr, "tavrola: writing %s %d%%\n", name_.c_str(), percent / 10 * 10);
        }
        std::fflush(stderr);
    }
    void End() {
        if (live_ && shown_ >= 0) {
            std::fputc('\n', stderr);
        }
    }

  private:
    const std::string name_;
    const bool quiet_;
    const bool live_;
    int shown_ = -1;
};

// The performance the window would export: a performer's start-up, the Instrument and
// Algorithm dialogs' choices, the sequence loaded with the Data dialog's OK.
PerformanceSnapshot Perform(const ExportCommand& command, BaseSequence sequence) {
    UnseenPlaybackView nobody;
    Performer performer(std::make_unique<SilentMidiOutput>(), nobody);
    performer.SetInstruments(command.right_instrument, command.left_instrument);
    performer.SetAlgorithm(command.assignment_table, command.timing_mode, command.diatonic_only);
    performer.InstallSequence(std::move(sequence));
    return performer.Snapshot();
}

int Export(const ExportCommand& command, BaseSequence sequence, TerminationSignals& termination) {
    ExportPlan plan;
    const ExportOutcome ready =
        PrepareExport(Perform(command, std::move(sequence)), command.format, command.output,
                      command.force ? ExistingFile::kReplace : ExistingFile::kKeep, plan);
    if (!ready.Succeeded()) {
        Say(ExportFailureLine(ready, command.output.string()));
        return Status(ExitStatus::kOutput);
    }

    // The progress line is written on the worker's thread: a standard error that nobody reads
    // holds up the worker, never the end of the run.
    auto line = std::make_shared<ProgressLine>(command.output.filename().string(), command.quiet);
    std::optional<ExportOutcome> ended;
    ExportWorker worker(std::move(plan), [line](double done) { line->Show(done); });
    QObject::connect(&worker, &ExportWorker::finished, [&ended](const ExportOutcome& outcome) {
        ended = outcome;
        QCoreApplication::quit();
    });
    QObject::connect(&termination, &TerminationSignals::received, &QCoreApplication::quit);
    if (termination.Received() == 0) {
        QCoreApplication::exec();
    }
    if (!ended && !worker.Stop()) {
        return termination.ExitStatus();  // the worker and its progress line are left behind
    }
    line->End();
    if (termination.Received() != 0) {
        return termination.ExitStatus();
    }
    if (!ended->Succeeded()) {
        Say(ExportFailureLine(*ended, command.output.string()));
        return Status(ExitStatus::kOutput);
    }
    return Status(ExitStatus::kWritten);
}

}  // namespace

int RunCommandLine(int argc, char** argv, UiLanguage language) {
    IgnoreSignalsOfFailedWrites();
    // Only the program's own lines reach standard error.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    SilenceSynthesiserMessages();
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << ArgumentText(argv[i]);
    }
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    // A video paints the window's face, which needs fonts: those come with a GUI application,
    // on the platform that draws into memory, so no display is needed still.
    std::unique_ptr<QCoreApplication> application;
    if (parsed.action == ParsedCommandLine::Action::kExport &&
        parsed.command.format.kind == ExportKind::kVideo) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const std::unique_ptr<QTranslator> face_words = InstallTranslation(language);
    TerminationSignals termination;

    switch (parsed.action) {
        case ParsedCommandLine::Action::kHelp:
            return Print(HelpText());
        case ParsedCommandLine::Action::kVersion:
            return Print(VersionLine() + "\n");
        case ParsedCommandLine::Action::kUsageError:
            Say(parsed.error);
            return Status(ExitStatus::kUsage);
        case ParsedCommandLine::Action::kExport:
            break;
    }
    InputSequence input = ReadInputSequence(parsed.command.input, parsed.command.input_choice,
                                            STDIN_FILENO, termination.WakeDescriptor());
    termination.Collect();
    if (termination.Received() != 0) {
        return termination.ExitStatus();
    }
    if (!input.sequence) {
        Say(input.error);
        return Status(ExitStatus::kInput);
    }
    if (!parsed.command.quiet && !input.notice.empty()) {
        Say(input.notice);
    }
    const int status = Export(parsed.command, std::move(*input.sequence), termination);
    // A worker left writing to a slow disk is not waited for, nor are the libraries it may
    // still use torn down under it.
    EndAtOnceIfAWorkerRemains(status);
    return status;
}

}  // namespace tavrola
