#pragma once

#include <filesystem>
#include <functional>
#include <optional>

// The file names a chooser gives, between Qt and the file layer.
#include "export/file_names.h"

class QString;
class QWidget;

namespace tavrola {

// Asks the user for a file to open, starting in `folder`; nothing when the user cancels.
using FileChooser = std::function<std::optional<std::filesystem::path>(
    QWidget* parent, const std::filesystem::path& folder)>;

// The open-file chooser "読込" uses: a file dialog with one filter for all files that, as
// designed, also takes a typed name that does not exist. Tests answer it instead through
// SetFileChooser.
std::optional<std::filesystem::path> ChooseFileToOpen(QWidget* parent,
                                                      const std::filesystem::path& folder);

// Replaces the chooser (nullptr puts the file dialog back); returns the one installed before.
FileChooser SetFileChooser(FileChooser chooser);

}  // namespace tavrola
