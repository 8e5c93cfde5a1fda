#include "ui/window/command_dispatch.h"

#include <QMetaObject>
#include <utility>

#include "core/helix/helix_geometry.h"
#include "core/music/midi_controler.h"
#include "core/playback/command_key.h"
#include "core/playback/playback_clock.h"
#include "ui/dialogs/algorithm_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/instrument_dialog.h"
#include "ui/window/help_viewer.h"
#include "ui/window/main_window.h"

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
    RecomputeHelix(state, window.Layer(), window.Random());
    window.Buttons().EnableImageButton(kStartButtonKey, true);
    RenderLayer(window.Layer(), window.Random());
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
    // While an audio export runs only the quit gets through; it cancels the export.
    if (window->Exporting() && key != kExitButtonKey) {
        window->Buttons().PresentImageButtons();
        return;
    }
    switch (key) {
        case kExitButtonKey:
            // Ends the window's run, not the application's loop, so boxes shown while the MIDI
            // output closes can still be answered.
            QMetaObject::invokeMethod(window, &QDialog::reject, Qt::QueuedConnection);
            break;
        case kDataButtonKey:
            RunDataCommand(*window);
            break;
        case kStartButtonKey: {
            PlaybackContext context = window->Playback();
            TogglePlayback(context);
            break;
        }
        case kInstrumentButtonKey:
            RunInstrumentCommand(*window);
            break;
        case kAlgorithmButtonKey:
            RunAlgorithmCommand(*window);
            break;
        case kHelpButtonKey:
            // The viewer opens beside the window; nothing waits for it.
            window->Help().Open(window->State().working_directory);
            break;
        default:
            break;
    }
    window->Buttons().PresentImageButtons();
}

}  // namespace tavrola
