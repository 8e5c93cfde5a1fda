#include <QApplication>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/refusal_tone.h"
#include "engine/find_midi_output.h"
#include "engine/tone_player.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
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
