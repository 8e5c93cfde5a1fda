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
    // Where no audio output opens, the desktop's bell stands in for the tone. The tone's own
    // thread learns that; the bell rings on the window's.
    tavrola::SetToneHandler([] {
        tavrola::PlayRefusalTone([] {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QApplication::beep(); }, Qt::QueuedConnection);
        });
    });
    tavrola::CTavrolaAppDlg window(tavrola::FindMidiOutput);
    window.exec();
    return 0;
}
