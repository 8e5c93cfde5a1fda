#include "app/command_dispatch.h"

#include <QMetaObject>
#include <utility>

#include "app/help_viewer.h"
#include "app/main_window.h"
#include "engine/assign_dialog.h"
#include "engine/midi_controler.h"
#include "engine/playback_clock.h"
#include "engine/setting_dialog.h"
#include "helix/helix_geometry.h"
#include "sequence/data_dialog.h"

namespace tavrola {
namespace {

void RunDataCommand(CTavrolaAppDlg& window) {
    PerformanceState& state = window.State();
    CDataDlg dialog(&window);
    // Handed over and taken back whole, so a dialog closed without OK gives back exactly what
    // it was given.
    dialog.sequence = std::move(state.sequence);
    dialog.working_directory = state.working_directory;
    dialog.exec();
    InstallSequence(state, std::move(dialog.sequence));
    RecomputeHelix(state, window.Layer());
    window.Buttons().EnableImageButton(kStartButtonKey, true);
    RenderLayer(window.Layer());
    window.PresentLayer();
}

void RunInstrumentCommand(CTavrolaAppDlg& window) {
    PerformanceState& state = window.State();
    CSettingDlg dialog(&window);
    dialog.right_instrument = state.right_instrument;
    dialog.left_instrument = state.left_instrument;
    dialog.exec();
    state.right_instrument = dialog.right_instrument;
    state.left_instrument = dialog.left_instrument;
    ApplyInstruments(window.Midi(), state);
}

void RunAlgorithmCommand(CTavrolaAppDlg& window) {
    PerformanceState& state = window.State();
    CAssignDlg dialog(&window);
    dialog.assignment_table = state.assignment_table;
    dialog.timing_mode = state.timing_mode;
    dialog.diatonic_only = state.diatonic_only;
    dialog.exec();
    state.assignment_table = dialog.assignment_table;
    state.timing_mode = dialog.timing_mode;
    state.diatonic_only = dialog.diatonic_only;
}

}  // namespace

void DispatchCommand(unsigned key) {
    CTavrolaAppDlg* window = MainWindow();
    if (window == nullptr) {
        return;
    }
    switch (key) {
        case 0:
            // Ends the window's run, not the application's loop, so boxes shown while the MIDI
            // output closes can still be answered.
            QMetaObject::invokeMethod(window, &QDialog::reject, Qt::QueuedConnection);
            break;
        case 1:
            RunDataCommand(*window);
            break;
        case 2: {
            PlaybackContext context = window->Playback();
            TogglePlayback(context);
            break;
        }
        case 3:
            RunInstrumentCommand(*window);
            break;
        case 4:
            RunAlgorithmCommand(*window);
            break;
        case 5:
            // The viewer opens beside the window; nothing waits for it.
            OpenHelpFrom(window->State().working_directory);
            break;
        default:
            break;
    }
    window->Buttons().PresentImageButtons();
}

}  // namespace tavrola
