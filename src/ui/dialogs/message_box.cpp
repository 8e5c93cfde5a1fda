#include "ui/dialogs/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "core/services/user_message.h"

namespace tavrola {

void InstallMessageBox() {
    SetMessageHandler([](const std::string& text) {
        QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Tavrola"),
                             QString::fromStdString(text), QMessageBox::Ok);
    });
}

}  // namespace tavrola
