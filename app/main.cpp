#include <QApplication>
#include <cstdio>
#include <memory>
#include <string_view>

#include "audio/find_midi_output.h"
#include "audio/sound_server_probe.h"
#include "audio/tone_player.h"
#include "cli/command_line.h"
#include "cli/command_line_run.h"
#include "core/music/midi_controler.h"
#include "core/services/refusal_tone.h"
#include "core/services/user_message.h"
#include "export/export_worker.h"
#include "export/face/translation.h"
#include "export/termination_signals.h"
#include "ui/dialogs/message_box.h"
#include "ui/window/end_of_run.h"
#include "ui/window/main_window.h"
#include "ui/window/sound_server_watch.h"

namespace {

// The options every Qt program takes, with a value where they have one: the window's run
// leaves them to Qt.
constexpr std::string_view kQtOptionsWithValue[] = {
    "-platform",     "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon",        "-style",         "-stylesheet", "-session",
    "-display",      "-geometry",           "-title",         "-name"};
constexpr std::string_view kQtOptions[] = {"-reverse", "-widgetcount", "-nograb", "-dograb",
                                           "-sync"};

// Arguments the window does not take: everything but Qt's own options.
bool HasOwnArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        bool qt_option = false;
        for (const std::string_view option : kQtOptionsWithValue) {
            if (argument == option) {
                qt_option = true;
                ++i;
            }
        }
        for (const std::string_view option : kQtOptions) {
            qt_option = qt_option || argument == option;
        }
        if (!qt_option) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Japanese as designed, English beside it: decided once, from the environment alone.
    const tavrola::UiLanguage language = tavrola::UiLanguageOfThisProcess();
    // With --export the program is a command line: no window, no display, no sound server.
    if (tavrola::AsksForCommandLine(argc, argv)) {
        return tavrola::RunCommandLine(argc, argv, language);
    }
    if (HasOwnArguments(argc, argv)) {
        std::fputs("tavrola: arguments need --export OUT (see tavrola --help)\n", stderr);
        return 1;
    }
    tavrola::IgnoreSignalsOfFailedWrites();
    QApplication application(argc, argv);
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
