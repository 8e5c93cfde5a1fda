#include "ui/window/end_of_run.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include "core/playback/command_key.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/main_window.h"

namespace tavrola {

void CloseModalWindows(const QWidget* program_window) {
    // A window that will not close is not waited for.
    for (QWidget* last = nullptr;;) {
        QWidget* open = QApplication::activePopupWidget();
        if (open == nullptr) {
            open = QApplication::activeModalWidget();
        }
        if (open == nullptr || open == last || open == program_window) {
            break;
        }
        if (auto* dialog = qobject_cast<QDialog*>(open)) {
            dialog->reject();
        } else {
            open->close();
        }
        last = open;
    }
}

void EndRunAsTheExitSwitchDoes(CTavrolaAppDlg& window) {
    CloseModalWindows(&window);
    DispatchCommand(window, kExitButtonKey);
}

}  // namespace tavrola
