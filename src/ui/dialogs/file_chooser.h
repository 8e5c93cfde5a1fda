#pragma once

#include <filesystem>
#include <functional>
#include <optional>

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

// File names between Qt and the file layer, in the file system's own encoding.
std::filesystem::path ToFilePath(const QString& name);
QString FromFilePath(const std::filesystem::path& path);

}  // namespace tavrola
