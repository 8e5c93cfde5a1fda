#include "ui/dialogs/export_file_chooser.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <array>
#include <system_error>
#include <utility>
#include <vector>

#include "core/services/installable_hook.h"
#include "export/file_names.h"

namespace tavrola {
namespace {

struct FormatFilter {
    ExportFormat format;
    const char* filter;
};

// In the order the save dialog offers them; the first of a kind is proposed.
constexpr std::array<FormatFilter, 8> kFormatFilters = {{
    {{ExportKind::kMidi}, "Standard MIDI File (*.mid *.midi)"},
    {{ExportKind::kAudio, AudioFileType::kFlac}, "FLAC (*.flac)"},
    {{ExportKind::kAudio, AudioFileType::kWav},
     QT_TRANSLATE_NOOP("tavrola::ExportFileChooser", "WAV 16 ビット (*.wav)")},
    {{ExportKind::kAudio, AudioFileType::kOggVorbis}, "Ogg Vorbis (*.ogg)"},
    {{ExportKind::kAudio, AudioFileType::kOpus}, "Opus (*.opus)"},
    {{ExportKind::kAudio, AudioFileType::kMp3}, "MP3 (*.mp3)"},
    {{ExportKind::kVideo, AudioFileType::kFlac, VideoFileType::kMp4}, "MP4 (H.264) (*.mp4)"},
    {{ExportKind::kVideo, AudioFileType::kFlac, VideoFileType::kWebm}, "WebM (VP9) (*.webm)"},
}};

std::vector<FormatFilter> FiltersOf(ExportKind kind) {
    std::vector<FormatFilter> filters;
    for (const FormatFilter& filter : kFormatFilters) {
        if (filter.format.kind == kind) {
            filters.push_back(filter);
        }
    }
    return filters;
}

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
    return stem + u'.' + QString::fromLatin1(ExportExtensionOf(FiltersOf(kind).front().format));
}

std::optional<ExportTarget> RunSaveDialog(QWidget* parent, ExportKind kind,
                                          const std::filesystem::path& folder,
                                          const QString& proposed_name) {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(ExportTitle(kind));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The question about replacing a file must be about the name finally written, which only
    // CompleteExportName settles: neither Qt's dialog nor the desktop's may ask before.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const std::vector<FormatFilter> offered = FiltersOf(kind);
    QStringList filters;
    for (const FormatFilter& filter : offered) {
        filters << QCoreApplication::translate("tavrola::ExportFileChooser", filter.filter);
    }
    dialog.setNameFilters(filters);
    dialog.setDirectory(FromFilePath(folder));
    dialog.selectFile(proposed_name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const auto index = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    return ExportTarget{ToFilePath(dialog.selectedFiles().front()),
                        offered[static_cast<std::size_t>(index)].format};
}

bool AskToReplace(QWidget* parent, const std::filesystem::path& file) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tavrola"),
                    QCoreApplication::translate("tavrola::ExportFileChooser",
                                                "「%1」はすでにあります。置き換えますか？")
                        .arg(FromFilePath(file.filename())),
                    QMessageBox::NoButton, parent);
    QPushButton* replace =
        box.addButton(QCoreApplication::translate("tavrola::ExportFileChooser", "置き換える(&R)"),
                      QMessageBox::AcceptRole);
    QPushButton* keep =
        box.addButton(QCoreApplication::translate("tavrola::ExportFileChooser", "キャンセル"),
                      QMessageBox::RejectRole);
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

QString ExportTitle(ExportKind kind) {
    switch (kind) {
        case ExportKind::kMidi:
            return QCoreApplication::translate("tavrola::ExportFileChooser",
                                               "MIDI ファイルに書き出す");
        case ExportKind::kAudio:
            return QCoreApplication::translate("tavrola::ExportFileChooser",
                                               "音声ファイルに書き出す");
        case ExportKind::kVideo:
            break;
    }
    return QCoreApplication::translate("tavrola::ExportFileChooser", "動画ファイルに書き出す");
}

std::optional<ExportTarget> ChooseExportFile(QWidget* parent, ExportKind kind) {
    std::filesystem::path folder = StartFolder();
    QString name = ProposedName(kind);
    for (;;) {
        const std::optional<ExportTarget> chosen = Chooser().Get()(parent, kind, folder, name);
        if (!chosen) {
            return std::nullopt;
        }
        ExportTarget target = CompleteExportName(chosen->file, chosen->format);
        if (!WouldReplace(target.file)) {
            return target;
        }
        if (Question().Get()(parent, target.file)) {
            target.replace = true;
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

ExportTarget CompleteExportName(const std::filesystem::path& chosen,
                                const ExportFormat& chosen_format) {
    if (const std::optional<ExportFormat> named = ExportFormatOfFile(chosen);
        named && named->kind == chosen_format.kind) {
        return {chosen, *named};
    }
    return {chosen.string() + "." + ExportExtensionOf(chosen_format), chosen_format};
}

}  // namespace tavrola
