#include "ui/window/export_commands.h"

#include <memory>
#include <optional>
#include <utility>

#include "audio/export/file_beside_target.h"
#include "audio/export/performance_export.h"
#include "core/services/user_message.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/window/export_sentences.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

// Asks where to, refuses at once what cannot go there, and leaves the rest to a worker: the
// performance of a long typed sequence takes seconds to work out.
void StartExport(CTavrolaAppDlg& window, ExportKind kind) {
    if (!CanExport(window)) {
        return;
    }
    const std::optional<ExportTarget> target = ChooseExportFile(&window, kind);
    if (!target) {
        return;
    }
    const ExportFormat format{kind, target->audio_type};
    PerformanceSnapshot snapshot = window.Performance().Snapshot();
    auto file = std::make_shared<FileBesideTarget>(target->file);
    ExportResult ready = file->Create();
    if (ready == ExportResult::kSuccess) {
        ready = CheckExportBeforeStart(snapshot, format, *file);
    }
    if (ready != ExportResult::kSuccess) {
        ShowMessage(ExportFailureSentence(ready));
        return;
    }
    window.StartExport(std::move(snapshot), format, std::move(file));
}

}  // namespace

bool CanExport(CTavrolaAppDlg& window) {
    const PerformanceState& state = window.Performance().State();
    return state.sequence.has_value() && !state.sequence->empty() && !state.playing &&
           !window.Exporting();
}

void ExportMidiFile(CTavrolaAppDlg& window) {
    StartExport(window, ExportKind::kMidi);
}

void ExportAudioFile(CTavrolaAppDlg& window) {
    StartExport(window, ExportKind::kAudio);
}

}  // namespace tavrola
