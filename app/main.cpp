#include <QApplication>

#include "app/main_window.h"
#include "app/message_box.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    tavrola::InstallMessageBox();
    tavrola::CTavrolaAppDlg window([] { return std::unique_ptr<tavrola::MidiOutput>(); });
    window.exec();
    return 0;
}
