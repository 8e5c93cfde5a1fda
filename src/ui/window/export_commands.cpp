#include "ui/window/export_commands.h"

#include <optional>
#include <utility>

#include "audio/export/audio_file_writer.h"
#include "audio/export/midi_file_writer.h"
#include "core/playback/performance_simulation.h"
#include "core/services/user_message.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

SimulatedPerformance WhatStartWouldPlay(CTavrolaAppDlg& window) {
    return SimulatePerformance(window.State(), window.Layer().table, window.Random());
}

}  // namespace

bool CanExport(CTavrolaAppDlg& window) {
    const PerformanceState& state = window.State();
    return state.sequence.has_value() && !state.sequence->empty() && state.playing == 0 &&
           !window.Exporting();
}

void ExportMidiFile(CTavrolaAppDlg& window) {
    if (!CanExport(window)) {
        return;
    }
    const std::optional<ExportTarget> target = ChooseExportFile(&window, ExportKind::kMidi);
    if (!target) {
        return;
    }
    const ExportResult result = WriteMidiFile(WhatStartWouldPlay(window), target->file);
    if (result != ExportResult::kWritten) {
        ShowMessage(ExportResultMessage(result));
    }
}

void ExportAudioFile(CTavrolaAppDlg& window) {
    if (!CanExport(window)) {
        return;
    }
    const std::optional<ExportTarget> target = ChooseExportFile(&window, ExportKind::kAudio);
    if (!target) {
        return;
    }
    SimulatedPerformance performance = WhatStartWouldPlay(window);
    const ExportResult fits = CheckAudioExport(performance, target->audio_type, target->file);
    if (fits != ExportResult::kWritten) {
        ShowMessage(ExportResultMessage(fits));
        return;
    }
    window.StartAudioExport(std::move(performance), *target);
}

}  // namespace tavrola
