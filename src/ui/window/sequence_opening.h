#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <variant>

#include "ui/dialogs/data_dialog.h"

class QDropEvent;
class QMimeData;

namespace tavrola {

class CTavrolaAppDlg;

// A sequence brought to the window from outside the Data button: a file, or a text.
using SequenceDrop = std::variant<std::filesystem::path, QString>;

// What a drag holds for the Data dialog's box: the first local file among its addresses, or its
// text when it carries no addresses at all. Nothing for anything else (a web address, an image).
std::optional<SequenceDrop> ReadSequenceDrop(const QMimeData* data);

// Whether the window takes a drop now: stopped, no export under way and no modal dialog open.
bool TakesSequenceDrops(const CTavrolaAppDlg& window);

// A drag entering or moving over the window: accepted as a copy when the window takes it now
// (never as a move, which would have the source delete what it gave), ignored otherwise.
void AnswerSequenceDrag(const CTavrolaAppDlg& window, QDropEvent& event);

// A drop on the window: taken as the drag was, and the Data dialog opened once the drag's source
// has been told.
void TakeSequenceDrop(CTavrolaAppDlg& window, QDropEvent& event);

// The Data dialog opened by a drop: a file is read into its box as "読込" reads one once the
// dialog is on the screen, so the questions of the load sit over it; a text is put in the box.
// OK or Esc then decides, as always. Does nothing when the window no longer takes drops.
void OpenDataDialogWithDrop(CTavrolaAppDlg& window, const SequenceDrop& drop);

// A file named when the program starts: read as "読込" reads it, with the same questions and
// boxes over the window but without the Data dialog on the screen, then installed as OK installs
// it. A load that fails or is cancelled installs nothing, and Start stays as it was.
CDataDlg::BoxLoad OpenFileAtStart(CTavrolaAppDlg& window, const std::filesystem::path& file);

}  // namespace tavrola
