#include "ui/dialogs/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "core/services/user_message.h"
#include "export/face/designed_texts.h"

namespace tavrola {

void InstallMessageBox() {
    // The core's messages arrive in the designed Japanese and are shown in the installed
    // language here; the window's own sentences arrive worded already and pass unchanged.
    SetMessageHandler([](const std::string& text) {
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Tavrola"),
                             ShownDesignedText(text.c_str()), QMessageBox::Ok);
    });
}

}  // namespace tavrola
