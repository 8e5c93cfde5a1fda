#include <QApplication>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "audio/find_midi_output.h"
#include "audio/sound_server_probe.h"
#include "audio/tone_player.h"
#include "cli/command_line.h"
#include "cli/command_line_run.h"
#include "cli/window_arguments.h"
#include "core/music/midi_controler.h"
#include "core/services/refusal_tone.h"
#include "core/services/user_message.h"
#include "export/export_worker.h"
#include "export/face/translation.h"
#include "export/termination_signals.h"
#include "ui/dialogs/message_box.h"
#include "ui/window/end_of_run.h"
#include "ui/window/main_window.h"
#include "ui/window/sequence_opening.h"
#include "ui/window/sound_server_watch.h"

int main(int argc, char* argv[]) {
    // Japanese as designed, English beside it: decided once, from the environment alone.
    const tavrola::UiLanguage language = tavrola::UiLanguageOfThisProcess();
    // With --export the program is a command line: no window, no display, no sound server.
    if (tavrola::AsksForCommandLine(argc, argv)) {
        return tavrola::RunCommandLine(argc, argv, language);
    }
    tavrola::IgnoreSignalsOfFailedWrites();
    // Otherwise the window, with Qt's own options and the files to open.
    const tavrola::WindowArguments arguments =
        tavrola::ReadWindowArguments(std::span<const char* const>(argv, argc));
    if (!arguments.refusal.empty()) {
        std::fputs((arguments.refusal + "\n").c_str(), stderr);
        return 1;
    }
    if (const std::string unopened = tavrola::UnopenedFilesLine(arguments.files);
        !unopened.empty()) {
        std::fputs((unopened + "\n").c_str(), stderr);
    }
    std::vector<char*> qt_argv;
    for (const std::string& argument : arguments.qt_arguments) {
        qt_argv.push_back(const_cast<char*>(argument.c_str()));
    }
    qt_argv.push_back(nullptr);
    int qt_argc = static_cast<int>(arguments.qt_arguments.size());
    QApplication application(qt_argc, qt_argv.data());
    QApplication::setDesktopFileName(QStringLiteral(TAVROLA_APP_ID));
    const std::unique_ptr<QTranslator> translation = tavrola::InstallTranslation(language);
    tavrola::InstallMessageBox();
    // Where no audio output opens, the desktop's bell stands in for the tone. The tone's own
    // thread learns that; the bell rings on the window's.
    tavrola::SetToneHandler([] {
        tavrola::PlayRefusalTone([] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QApplication::beep(); }, Qt::QueuedConnection);
        });
    });
    // One connection to the sound server; a server that took it without answering yet is
    // awaited beside the window, never before it.
    auto probe = std::make_unique<tavrola::SoundServerProbe>();
    const tavrola::MidiOutputSurvey survey = tavrola::SurveyMidiOutputs(probe->Answer());
    // A logout or a Ctrl+C ends the program as the exit switch does, with the shell's status.
    tavrola::TerminationSignals termination;
    tavrola::CTavrolaAppDlg* running = nullptr;
    QObject::connect(&termination, &tavrola::TerminationSignals::received, [&running] {
        if (running != nullptr) {
            tavrola::EndRunAsTheExitSwitchDoes(*running);
        } else {
            tavrola::CloseModalWindows(nullptr);  // a box of the start-up
        }
    });
    // The synthesiser's SoundFont loads beside the window; a file that proves broken then is
    // reported as a start-up failure to open would be.
    const auto failed_to_load = [] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] { tavrola::ShowMessage(tavrola::kMidiUndefinedErrorMessage); },
            Qt::QueuedConnection);
    };
    {
        tavrola::CTavrolaAppDlg window(
            [&survey, failed_to_load] { return tavrola::ChooseMidiOutput(survey, failed_to_load); },
            tavrola::CTavrolaAppDlg::kPlaybackIntervalMs, nullptr, language);
        running = &window;
        tavrola::AwaitSoundServer(window, std::move(probe), survey);
        if (!arguments.files.empty()) {
            // Once the window is on the screen, as "読込" and OK would load it.
            QTimer::singleShot(0, &window, [&window, file = arguments.files.front()] {
                tavrola::OpenFileAtStart(window, file);
            });
        }
        if (termination.Received() == 0) {
            window.exec();
        }
        running = nullptr;
    }
    // The window has gone, its MIDI output reset and closed; an export's worker left writing to
    // a slow disk is not waited for, nor are the libraries it may still use torn down under it.
    tavrola::EndAtOnceIfAWorkerRemains(termination.ExitStatus());
    return termination.ExitStatus();
}
