#include "ui/window/export_commands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>
#include <optional>
#include <utility>

#include "core/services/user_message.h"
#include "export/export_format.h"
#include "export/export_plan.h"
#include "export/video_encoder.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/window/export_sentences.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

// Asks where to, refuses at once what cannot go there, and leaves the rest to a worker: the
// performance of a long typed sequence takes seconds to work out.
void StartExport(CTavrolaAppDlg& window, ExportKind kind) {
    if (!CanExport(window) || (kind == ExportKind::kVideo && !VideoExportAvailable())) {
        return;
    }
    const std::optional<ExportTarget> target = ChooseExportFile(&window, kind);
    if (!target) {
        return;
    }
    ExportPlan plan;
    const ExportOutcome ready =
        PrepareExport(window.Performance().Snapshot(), target->format, target->file,
                      target->replace ? ExistingFile::kReplace : ExistingFile::kKeep, plan);
    if (!ready.Succeeded()) {
        ShowMessage(ExportFailureSentence(ready));
        return;
    }
    window.StartExport(std::move(plan));
}

}  // namespace

bool CanExport(CTavrolaAppDlg& window) {
    const PerformanceState& state = window.Performance().State();
    return state.sequence.has_value() && !state.sequence->empty() && !state.playing &&
           !window.Exporting();
}

bool VideoExportAvailable() {
    return FindVideoEncoder().has_value();
}

void ExportMidiFile(CTavrolaAppDlg& window) {
    StartExport(window, ExportKind::kMidi);
}

void ExportAudioFile(CTavrolaAppDlg& window) {
    StartExport(window, ExportKind::kAudio);
}

void ExportVideoFile(CTavrolaAppDlg& window) {
    StartExport(window, ExportKind::kVideo);
}

void AddExportItems(QMenu& menu, CTavrolaAppDlg& window) {
    struct Item {
        const char* text;
        const char* keys;
        void (*command)(CTavrolaAppDlg&);
        bool offered;
        const char* tip;
    };
    const bool can_export = CanExport(window);
    const bool can_encode = VideoExportAvailable();
    const Item items[] = {
        {kMidiExportItem, kMidiExportShortcut, ExportMidiFile, can_export, ""},
        {kAudioExportItem, kAudioExportShortcut, ExportAudioFile, can_export, ""},
        {kVideoExportItem, kVideoExportShortcut, ExportVideoFile, can_export && can_encode,
         can_encode ? "" : kVideoEncoderMissingTip},
    };
    menu.setToolTipsVisible(true);
    for (const Item& item : items) {
        QAction* action = menu.addAction(QString::fromUtf8(item.text), &window,
                                         [&window, command = item.command] { command(window); });
        action->setShortcut(QKeySequence(QString::fromLatin1(item.keys)));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(item.offered);
        if (*item.tip != '\0') {
            action->setToolTip(QString::fromUtf8(item.tip));
        }
    }
}

}  // namespace tavrola
