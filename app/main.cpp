#include <QApplication>

#include "audio/find_midi_output.h"
#include "audio/tone_player.h"
#include "core/services/refusal_tone.h"
#include "ui/dialogs/message_box.h"
#include "ui/window/main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(TAVROLA_APP_ID));
    tavrola::InstallMessageBox();
    // Where no audio output opens, the desktop's bell stands in for the tone.
    tavrola::SetToneHandler([] {
        if (!tavrola::PlayRefusalTone()) {
            QApplication::beep();
        }
    });
    tavrola::CTavrolaAppDlg window(tavrola::FindMidiOutput);
    window.exec();
    return 0;
}
