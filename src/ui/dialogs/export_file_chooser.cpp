#include "ui/dialogs/export_file_chooser.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QStringList>
#include <array>
#include <utility>

#include "ui/dialogs/file_chooser.h"

namespace tavrola {
namespace {

struct AudioFormat {
    AudioFileType type;
    const char* extension;
    const char* filter;
};

// In the order the save dialog offers them; the first is proposed.
constexpr std::array<AudioFormat, 3> kAudioFormats = {{
    {AudioFileType::kFlac, "flac", "FLAC (*.flac)"},
    {AudioFileType::kWav, "wav", "WAV 16 ビット (*.wav)"},
    {AudioFileType::kOggVorbis, "ogg", "Ogg Vorbis (*.ogg)"},
}};
constexpr const char* kMidiExtension = "mid";
constexpr const char* kMidiFilter = "Standard MIDI File (*.mid *.midi)";

const AudioFormat& FormatOf(AudioFileType type) {
    for (const AudioFormat& format : kAudioFormats) {
        if (format.type == type) {
            return format;
        }
    }
    return kAudioFormats.front();
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
    return stem + u'.' +
           QString::fromLatin1(kind == ExportKind::kMidi
                                   ? kMidiExtension
                                   : FormatOf(kAudioFormats.front().type).extension);
}

std::optional<ExportTarget> RunSaveDialog(QWidget* parent, ExportKind kind,
                                          const std::filesystem::path& folder,
                                          const QString& proposed_name) {
    QFileDialog dialog(parent);
    dialog.setWindowTitle(kind == ExportKind::kMidi ? QStringLiteral("MIDI ファイルに書き出す")
                                                    : QStringLiteral("音声ファイルに書き出す"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    if (kind == ExportKind::kMidi) {
        filters << QString::fromUtf8(kMidiFilter);
        dialog.setDefaultSuffix(QString::fromLatin1(kMidiExtension));
    } else {
        for (const AudioFormat& format : kAudioFormats) {
            filters << QString::fromUtf8(format.filter);
        }
        dialog.setDefaultSuffix(QString::fromLatin1(kAudioFormats.front().extension));
        // The dialog adds the suffix before it asks about replacing a file, so it must follow
        // the chosen type.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, filters](const QString& filter) {
                             const auto index = filters.indexOf(filter);
                             if (index >= 0) {
                                 dialog.setDefaultSuffix(QString::fromLatin1(
                                     kAudioFormats[static_cast<std::size_t>(index)].extension));
                             }
                         });
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
    return CompleteExportName(kind, ToFilePath(dialog.selectedFiles().front()), chosen_type);
}

ExportFileChooser& InstalledChooser() {
    static ExportFileChooser chooser = RunSaveDialog;
    return chooser;
}

}  // namespace

std::optional<ExportTarget> ChooseExportFile(QWidget* parent, ExportKind kind) {
    const ExportFileChooser chooser = InstalledChooser();
    return chooser(parent, kind, StartFolder(), ProposedName(kind));
}

ExportFileChooser SetExportFileChooser(ExportFileChooser chooser) {
    return std::exchange(InstalledChooser(), chooser ? std::move(chooser) : RunSaveDialog);
}

ExportTarget CompleteExportName(ExportKind kind, const std::filesystem::path& chosen,
                                AudioFileType chosen_type) {
    const QString extension = FromFilePath(chosen.extension()).toLower();
    if (kind == ExportKind::kMidi) {
        if (extension == QStringLiteral(".mid") || extension == QStringLiteral(".midi")) {
            return {chosen, chosen_type};
        }
        return {chosen.string() + "." + kMidiExtension, chosen_type};
    }
    for (const AudioFormat& format : kAudioFormats) {
        if (extension == u'.' + QString::fromLatin1(format.extension)) {
            return {chosen, format.type};
        }
    }
    return {chosen.string() + "." + FormatOf(chosen_type).extension, chosen_type};
}

}  // namespace tavrola
