#include <QApplication>

#include "audio/find_midi_output.h"
#include "audio/tone_player.h"
#include "core/services/refusal_tone.h"
#include "ui/dialogs/message_box.h"
#include "ui/window/main_window.h"
#include "ui/window/termination_signals.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(TAVROLA_APP_ID));
    tavrola::InstallMessageBox();
    // Where no audio output opens, the desktop's bell stands in for the tone. The tone's own
    // thread learns that; the bell rings on the window's.
    tavrola::SetToneHandler([] {
        tavrola::PlayRefusalTone([] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QApplication::beep(); }, Qt::QueuedConnection);
        });
    });
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
    tavrola::CTavrolaAppDlg window(tavrola::FindMidiOutput);
    running = &window;
    if (termination.Received() == 0) {
        window.exec();
    }
    return termination.ExitStatus();
}
