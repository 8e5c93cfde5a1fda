#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tavrola::testing {

// Runs a dialog modally, as the program does, and plays the user from inside its loop. A dialog
// that `act` leaves open is closed after a while, and the test fails instead of hanging.
inline int RunModally(QDialog& dialog, const std::function<void()>& act) {
    QTimer::singleShot(0, &dialog, act);
    QPointer<QDialog> guarded(&dialog);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [guarded] {
        ADD_FAILURE() << "the dialog was still open: closed by the test's watchdog";
        if (guarded) {
            guarded->reject();
        }
    });
    watchdog.start(20000);
    return dialog.exec();
}

// The modal dialog of a given class that is open now, or null.
template <class Dialog>
Dialog* OpenModal() {
    return qobject_cast<Dialog*>(QApplication::activeModalWidget());
}

}  // namespace tavrola::testing
