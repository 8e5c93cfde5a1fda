#include "ui/dialogs/file_chooser.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <utility>

#include "core/services/installable_hook.h"
#include "export/file_names.h"

namespace tavrola {

namespace {

std::optional<std::filesystem::path> RunFileDialog(QWidget* parent,
                                                   const std::filesystem::path& folder) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("data files (*)"));
    dialog.setDirectory(FromFilePath(folder));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToFilePath(chosen.front());
}

InstallableHook<FileChooser>& Chooser() {
    static InstallableHook<FileChooser> chooser(RunFileDialog);
    return chooser;
}

}  // namespace

std::optional<std::filesystem::path> ChooseFileToOpen(QWidget* parent,
                                                      const std::filesystem::path& folder) {
    return Chooser().Get()(parent, folder);
}

FileChooser SetFileChooser(FileChooser chooser) {
    return Chooser().Install(std::move(chooser));
}

}  // namespace tavrola
