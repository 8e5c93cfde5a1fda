#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "audio/export/audio_file_writer.h"
#include "export/export_format.h"

class QWidget;

namespace tavrola {

// The title of an export's save dialog and of its progress window.
QString ExportTitle(ExportKind kind);

// Where an export goes, in which format, and whether the user agreed to replace a file of that
// name.
struct ExportTarget {
    std::filesystem::path file;
    ExportFormat format;
    bool replace = false;
};

// Asks where to save an export: a save dialog that starts in `folder` with `proposed_name` and
// gives back the name as the user chose it, with the file type chosen in it. Nothing when the
// user cancels. It asks nothing about replacing a file: that question comes after, about the
// name that is then written.
using ExportFileChooser = std::function<std::optional<ExportTarget>(
    QWidget* parent, ExportKind kind, const std::filesystem::path& folder,
    const QString& proposed_name)>;

// Whether the user agrees to replace the file of this name, which exists.
using ReplaceQuestion = std::function<bool(QWidget* parent, const std::filesystem::path& file)>;

// Where to export to: the save dialog, started in the user's music folder (else home) with a
// name of the date and time; then the name settled (CompleteExportName), and where a file of
// that name exists, the question whether to replace it. A no opens the dialog again at that
// name. Tests answer the dialog and the question through the two setters below.
std::optional<ExportTarget> ChooseExportFile(QWidget* parent, ExportKind kind);

// Replaces the chooser (nullptr puts the save dialog back); returns the one installed before.
ExportFileChooser SetExportFileChooser(ExportFileChooser chooser);
// Replaces the question (nullptr puts the box back); returns the one installed before.
ReplaceQuestion SetReplaceQuestion(ReplaceQuestion question);

// The file a chosen name and format stand for: the name as it is when its extension names a
// format of the chosen kind (.mid or .midi for MIDI), which then also decides the format;
// otherwise the name with the chosen format's extension added.
ExportTarget CompleteExportName(const std::filesystem::path& chosen,
                                const ExportFormat& chosen_format);

}  // namespace tavrola
