#include "ui/window/export_commands.h"

#include <QAction>
#include <QCoreApplication>
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
    // Why the video item is offered but cannot be chosen, where the encoder is missing.
    const char* const encoder_missing = QT_TRANSLATE_NOOP(
        "tavrola::ExportCommands",
        "動画の書き出しには ffmpeg が必要です。ffmpeg パッケージをインストールしてください"
        "（sudo apt install ffmpeg）。");
    const Item items[] = {
        {QT_TRANSLATE_NOOP("tavrola::ExportCommands", "MIDI ファイルに書き出す(&M)..."),
         kMidiExportShortcut, ExportMidiFile, can_export, ""},
        {QT_TRANSLATE_NOOP("tavrola::ExportCommands", "音声ファイルに書き出す(&W)..."),
         kAudioExportShortcut, ExportAudioFile, can_export, ""},
        {QT_TRANSLATE_NOOP("tavrola::ExportCommands", "動画ファイルに書き出す(&V)..."),
         kVideoExportShortcut, ExportVideoFile, can_export && can_encode,
         can_encode ? "" : encoder_missing},
    };
    menu.setToolTipsVisible(true);
    for (const Item& item : items) {
        QAction* action =
            menu.addAction(QCoreApplication::translate("tavrola::ExportCommands", item.text),
                           &window, [&window, command = item.command] { command(window); });
        action->setShortcut(QKeySequence(QString::fromLatin1(item.keys)));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(item.offered);
        if (*item.tip != '\0') {
            action->setToolTip(QCoreApplication::translate("tavrola::ExportCommands", item.tip));
        }
    }
}

}  // namespace tavrola
