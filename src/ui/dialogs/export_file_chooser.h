#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "audio/export/audio_file_writer.h"

class QWidget;

namespace tavrola {

enum class ExportKind { kMidi, kAudio };

// Where an export goes, and for audio, in which format.
struct ExportTarget {
    std::filesystem::path file;
    AudioFileType audio_type = AudioFileType::kFlac;
};

// Asks where to save an export: a save dialog that starts in `folder` with `proposed_name`,
// asks before replacing a file, and gives a name typed without an extension the chosen type's.
// Nothing when the user cancels.
using ExportFileChooser = std::function<std::optional<ExportTarget>(
    QWidget* parent, ExportKind kind, const std::filesystem::path& folder,
    const QString& proposed_name)>;

// The export's save dialog, started in the user's music folder (else home) with a name of the
// date and time. Tests answer it instead through SetExportFileChooser.
std::optional<ExportTarget> ChooseExportFile(QWidget* parent, ExportKind kind);

// Replaces the chooser (nullptr puts the save dialog back); returns the one installed before.
ExportFileChooser SetExportFileChooser(ExportFileChooser chooser);

// The file a chosen name and type stand for: the name as it is when its extension names an
// audio type (or, for MIDI, is .mid or .midi), which then also decides the type; otherwise the
// name with the chosen type's extension added.
ExportTarget CompleteExportName(ExportKind kind, const std::filesystem::path& chosen,
                                AudioFileType chosen_type);

}  // namespace tavrola
