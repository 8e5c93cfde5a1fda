#include <QApplication>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/refusal_tone.h"
#include "engine/find_midi_output.h"
#include "engine/midi_controler.h"
#include "engine/performance_state.h"
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
    tavrola::CTavrolaAppDlg window;
    // Opened with the window, closed when its run ends; the window will own this later.
    auto midi = tavrola::OpenMidiOutput(tavrola::FindMidiOutput(), tavrola::kDefaultRightInstrument,
                                        tavrola::kDefaultLeftInstrument);
    window.exec();
    tavrola::CloseMidiOutput(midi);
    return 0;
}
