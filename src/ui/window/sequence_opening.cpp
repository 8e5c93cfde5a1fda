#include "ui/window/sequence_opening.h"

#include <QApplication>
#include <QByteArray>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <string>
#include <utility>

#include "core/playback/performer.h"
#include "export/file_names.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/main_window.h"

namespace tavrola {

std::optional<SequenceDrop> ReadSequenceDrop(const QMimeData* data) {
    if (data == nullptr) {
        return std::nullopt;
    }
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                return LocalFileOfUrl(url);
            }
        }
        // A web address would play the letters of the address.
        return std::nullopt;
    }
    if (data->hasText()) {
        return data->text();
    }
    return std::nullopt;
}

bool TakesSequenceDrops(const CTavrolaAppDlg& window) {
    return !window.Performance().State().playing && !window.Exporting() &&
           QApplication::activeModalWidget() == nullptr;
}

void AnswerSequenceDrag(const CTavrolaAppDlg& window, QDropEvent& event) {
    if ((event.possibleActions() & Qt::CopyAction) && TakesSequenceDrops(window) &&
        ReadSequenceDrop(event.mimeData())) {
        event.setDropAction(Qt::CopyAction);
        event.accept();
    } else {
        event.ignore();
    }
}

void TakeSequenceDrop(CTavrolaAppDlg& window, QDropEvent& event) {
    AnswerSequenceDrag(window, event);
    if (!event.isAccepted()) {
        return;
    }
    // The source waits for the end of the drop: the dialog's own loop must not run inside it.
    QTimer::singleShot(0, &window, [&window, drop = *ReadSequenceDrop(event.mimeData())] {
        OpenDataDialogWithDrop(window, drop);
    });
}

void OpenDataDialogWithDrop(CTavrolaAppDlg& window, const SequenceDrop& drop) {
    if (!TakesSequenceDrops(window)) {
        return;
    }
    RunDataCommand(window, [&drop](CDataDlg& dialog) {
        if (const auto* file = std::get_if<std::filesystem::path>(&drop)) {
            dialog.LoadFileIntoBox(*file);
        } else {
            dialog.textBox()->setPlainText(std::get<QString>(drop));
        }
    });
    window.Buttons().PresentImageButtons();
}

CDataDlg::BoxLoad OpenFileAtStart(CTavrolaAppDlg& window, const std::filesystem::path& file) {
    Performer& performer = window.Performance();
    // The Data dialog's load, with the dialog kept hidden inside the window: the questions and
    // boxes of the load, its children, then centre on the window and stay in front of it.
    CDataDlg dialog(&window);
    dialog.setWindowFlags(Qt::Widget);
    dialog.working_directory = performer.State().working_directory;
    const CDataDlg::BoxLoad load = dialog.LoadFileIntoBox(file);
    if (load != CDataDlg::BoxLoad::kLoaded) {
        return load;
    }
    // Then its OK, the sequence handed over and taken back as the Data command does.
    dialog.sequence = performer.LendSequence();
    dialog.accept();
    performer.InstallSequence(std::move(dialog.sequence));
    window.Buttons().PresentImageButtons();
    return load;
}

}  // namespace tavrola
