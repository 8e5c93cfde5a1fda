#include "ui/window/command_dispatch.h"

#include <QMetaObject>
#include <QTimer>
#include <functional>
#include <utility>

#include "core/playback/command_key.h"
#include "core/playback/performer.h"
#include "ui/dialogs/algorithm_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/instrument_dialog.h"
#include "ui/window/help_viewer.h"
#include "ui/window/main_window.h"

namespace tavrola {

void RunDataCommand(CTavrolaAppDlg& window, const std::function<void(CDataDlg&)>& once_shown) {
    Performer& performer = window.Performance();
    CDataDlg dialog(&window);
    // Handed over and taken back whole, so a dialog closed without OK gives back exactly what
    // it was given.
    dialog.sequence = performer.LendSequence();
    dialog.working_directory = performer.State().working_directory;
    if (once_shown) {
        // Runs in the dialog's own loop, which exec() enters once the dialog is shown.
        QTimer::singleShot(0, &dialog, [&dialog, &once_shown] { once_shown(dialog); });
    }
    dialog.exec();
    performer.InstallSequence(std::move(dialog.sequence));
}

namespace {

void RunInstrumentCommand(CTavrolaAppDlg& window) {
    Performer& performer = window.Performance();
    CSettingDlg dialog(&window);
    dialog.right_instrument = performer.State().right_instrument;
    dialog.left_instrument = performer.State().left_instrument;
    dialog.exec();
    performer.SetInstruments(dialog.right_instrument, dialog.left_instrument);
}

void RunAlgorithmCommand(CTavrolaAppDlg& window) {
    Performer& performer = window.Performance();
    CAssignDlg dialog(&window);
    dialog.assignment_table = performer.State().assignment_table;
    dialog.timing_mode = performer.State().timing_mode;
    dialog.diatonic_only = performer.State().diatonic_only;
    dialog.exec();
    performer.SetAlgorithm(dialog.assignment_table, dialog.timing_mode, dialog.diatonic_only);
}

}  // namespace

void DispatchCommand(CTavrolaAppDlg& window, CommandKey key) {
    if (window.Exporting() && key != kExitButtonKey) {
        window.Buttons().PresentImageButtons();
        return;
    }
    switch (key) {
        case kExitButtonKey:
            // Ends the window's run, not the application's loop, so boxes shown while the MIDI
            // output closes can still be answered.
            QMetaObject::invokeMethod(&window, &QDialog::reject, Qt::QueuedConnection);
            break;
        case kDataButtonKey:
            RunDataCommand(window);
            break;
        case kStartButtonKey:
            window.Performance().TogglePlayback();
            break;
        case kInstrumentButtonKey:
            RunInstrumentCommand(window);
            break;
        case kAlgorithmButtonKey:
            RunAlgorithmCommand(window);
            break;
        case kHelpButtonKey:
            // The viewer opens beside the window; nothing waits for it.
            window.Help().Open(window.Performance().State().working_directory);
            break;
        default:
            break;
    }
    window.Buttons().PresentImageButtons();
}

}  // namespace tavrola
