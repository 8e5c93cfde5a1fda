#include "ui/dialogs/export_file_chooser.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringList>
#include <array>
#include <system_error>
#include <utility>

#include "core/services/installable_hook.h"
#include "ui/dialogs/file_chooser.h"

namespace tavrola {
namespace {

struct AudioFormat {
    AudioFileType type;
    const char* filter;
};

// In the order the save dialog offers them; the first is proposed.
constexpr std::array<AudioFormat, 5> kAudioFormats = {{
    {AudioFileType::kFlac, "FLAC (*.flac)"},
    {AudioFileType::kWav, "WAV 16 ビット (*.wav)"},
    {AudioFileType::kOggVorbis, "Ogg Vorbis (*.ogg)"},
    {AudioFileType::kOpus, "Opus (*.opus)"},
    {AudioFileType::kMp3, "MP3 (*.mp3)"},
}};
constexpr const char* kMidiFilter = "Standard MIDI File (*.mid *.midi)";

std::filesystem::path StartFolder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QDir(music).exists()) {
        return ToFilePath(music);
    }
    return ToFilePath(QDir::homePath());
}

QString ProposedName(ExportKind kind) {
    const QString stem = QStringLiteral("Tavrola ") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HHmm"));
    return stem + u'.' + QString::fromLatin1(ExportExtensionOf({kind, kAudioFormats.front().type}));
}

std::optional<ExportTarget> RunSaveDialog(QWidget* parent, ExportKind kind,
                                          const std::filesystem::path& folder,
                                          const QString& proposed_name) {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(kind == ExportKind::kMidi ? QStringLiteral("MIDI ファイルに書き出す")
                                                    : QStringLiteral("音声ファイルに書き出す"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The question about replacing a file must be about the name finally written, which only
    // CompleteExportName settles: neither Qt's dialog nor the desktop's may ask before.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    if (kind == ExportKind::kMidi) {
        filters << QString::fromUtf8(kMidiFilter);
    } else {
        for (const AudioFormat& format : kAudioFormats) {
            filters << QString::fromUtf8(format.filter);
        }
    }
    dialog.setNameFilters(filters);
    dialog.setDirectory(FromFilePath(folder));
    dialog.selectFile(proposed_name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    AudioFileType chosen_type = kAudioFormats.front().type;
    if (kind == ExportKind::kAudio) {
        const auto index = filters.indexOf(dialog.selectedNameFilter());
        if (index >= 0) {
            chosen_type = kAudioFormats[static_cast<std::size_t>(index)].type;
        }
    }
    return ExportTarget{ToFilePath(dialog.selectedFiles().front()), chosen_type};
}

bool AskToReplace(QWidget* parent, const std::filesystem::path& file) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tavrola"),
                    QStringLiteral("「%1」はすでにあります。置き換えますか？")
                        .arg(FromFilePath(file.filename())),
                    QMessageBox::NoButton, parent);
    QPushButton* replace = box.addButton(QStringLiteral("置き換える(&R)"), QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == replace;
}

InstallableHook<ExportFileChooser>& Chooser() {
    static InstallableHook<ExportFileChooser> chooser(RunSaveDialog);
    return chooser;
}

InstallableHook<ReplaceQuestion>& Question() {
    static InstallableHook<ReplaceQuestion> question(AskToReplace);
    return question;
}

// A file the export would replace: a regular file under the name, or where a link under the
// name leads. Folders, devices and dangling links are refused later with a sentence of their
// own, so they raise no question.
bool WouldReplace(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

}  // namespace

std::optional<ExportTarget> ChooseExportFile(QWidget* parent, ExportKind kind) {
    std::filesystem::path folder = StartFolder();
    QString name = ProposedName(kind);
    for (;;) {
        const std::optional<ExportTarget> chosen = Chooser().Get()(parent, kind, folder, name);
        if (!chosen) {
            return std::nullopt;
        }
        const ExportTarget target = CompleteExportName(kind, chosen->file, chosen->audio_type);
        if (!WouldReplace(target.file) || Question().Get()(parent, target.file)) {
            return target;
        }
        folder = target.file.parent_path();
        name = FromFilePath(target.file.filename());
    }
}

ExportFileChooser SetExportFileChooser(ExportFileChooser chooser) {
    return Chooser().Install(std::move(chooser));
}

ReplaceQuestion SetReplaceQuestion(ReplaceQuestion question) {
    return Question().Install(std::move(question));
}

ExportTarget CompleteExportName(ExportKind kind, const std::filesystem::path& chosen,
                                AudioFileType chosen_type) {
    if (const std::optional<ExportFormat> named = ExportFormatOfFile(chosen);
        named && named->kind == kind) {
        return {chosen, kind == ExportKind::kAudio ? named->audio_type : chosen_type};
    }
    return {chosen.string() + "." + ExportExtensionOf({kind, chosen_type}), chosen_type};
}

}  // namespace tavrola
