#include "ui/dialogs/data_dialog.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QString>
#include <QUrl>
#include <string>
#include <utility>

#include "core/sequence/file_loading.h"
#include "core/sequence/sequence_loading.h"
#include "core/services/user_message.h"
#include "export/file_names.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/load_sentences.h"
#include "ui/dialogs/record_dialog.h"
#include "ui/dialogs/target_area_dialog.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {

namespace {

// The first local file among the dragged items, if any; other drags keep their usual meaning.
std::optional<std::filesystem::path> DraggedFile(const QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasUrls()) {
        return std::nullopt;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return LocalFileOfUrl(url);
        }
    }
    return std::nullopt;
}

// A cursor shape for as long as it lives: the wait cursor while a file is read, the arrow
// again while a dialog of the load asks.
class ScopedCursor {
  public:
    explicit ScopedCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~ScopedCursor() { QGuiApplication::restoreOverrideCursor(); }
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;
};

// While a load reads, the wait cursor; the message boxes it shows get the arrow.
class LoadingCursor {
  public:
    LoadingCursor()
        : tell_(SetMessageHandler([this](const std::string& text) {
              const ScopedCursor arrow(Qt::ArrowCursor);
              tell_(text);
          })) {}
    ~LoadingCursor() { SetMessageHandler(std::move(tell_)); }
    LoadingCursor(const LoadingCursor&) = delete;
    LoadingCursor& operator=(const LoadingCursor&) = delete;

  private:
    ScopedCursor busy_{Qt::WaitCursor};
    MessageHandler tell_;
};

// A file is only ever copied in: a drag that may only move would have its source delete the
// file, so it is refused (nor is its address typed in).
bool TakeAsCopy(QDropEvent& event) {
    if (!(event.possibleActions() & Qt::CopyAction)) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

SequenceTextBox::SequenceTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

void SequenceTextBox::keyPressEvent(QKeyEvent* event) {
    if (IsEnterKey(event)) {
        if (event->modifiers() & Qt::ControlModifier) {
            // As in a box that leaves Enter to its dialog: Ctrl+Enter breaks the line.
            insertPlainText(QStringLiteral("\n"));
            return;
        }
        // Left to the dialog, whose default button is OK.
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void SequenceTextBox::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedFile(event)) {
        TakeAsCopy(*event);
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void SequenceTextBox::dragMoveEvent(QDragMoveEvent* event) {
    if (DraggedFile(event)) {
        TakeAsCopy(*event);
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void SequenceTextBox::dropEvent(QDropEvent* event) {
    if (const auto file = DraggedFile(event)) {
        if (!TakeAsCopy(*event)) {
            return;
        }
        emit fileDropped(*file);
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

CDataDlg::CDataDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Data"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    DialogTemplateLayout layout(this, 326, 178);
    // Created in the template's order, which is also the tab order.
    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok_button_, 1);
    ok_button_->setDefault(true);
    layout.Place(ok_button_, {146, 157, 50, 14});
    text_box_ = new SequenceTextBox(this);
    SetControlId(text_box_, kTextBoxId);
    layout.Place(text_box_, {7, 7, 312, 133});
    load_button_ = new QPushButton(tr("読込"), this);
    SetControlId(load_button_, kLoadButtonId);
    layout.Place(load_button_, {23, 156, 50, 15});
    // Between the box and the buttons, clear of both.
    skipped_line_ = new QLabel(this);
    SetControlId(skipped_line_, kSkippedLineId);
    skipped_line_->setAccessibleDescription(tr("読み飛ばす文字"));
    skipped_line_->hide();
    layout.Place(skipped_line_, {7, 142, 312, 11});
    layout.Apply();

    setTabOrder(ok_button_, text_box_);
    setTabOrder(text_box_, load_button_);
    connect(ok_button_, &QPushButton::clicked, this, &CDataDlg::accept);
    connect(load_button_, &QPushButton::clicked, this, &CDataDlg::LoadSequenceFile);
    connect(text_box_, &SequenceTextBox::fileDropped, this, &CDataDlg::LoadDroppedFile);
    // The count speaks of the loaded text only.
    connect(text_box_, &QPlainTextEdit::textChanged, skipped_line_, &QLabel::hide);
}

void CDataDlg::keyPressEvent(QKeyEvent* event) {
    // QDialog takes only a bare Enter for its default button; Shift+Enter presses OK too.
    if (IsEnterKey(event) && event->modifiers() & Qt::ShiftModifier &&
        !(event->modifiers() & Qt::ControlModifier) && ok_button_->isEnabled()) {
        ok_button_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDataDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        ok_button_->setFocus();
    }
}

void CDataDlg::LoadSequenceFile() {
    if (const auto file = ChooseFileToOpen(this, DataFolder(working_directory))) {
        LoadFileIntoBox(*file);
    }
}

CDataDlg::BoxLoad CDataDlg::LoadFileIntoBox(const std::filesystem::path& file) {
    SequenceReading reading;
    {
        const LoadingCursor busy;
        reading = LoadFileForDataBox(
            file,
            [this](const SequenceLook& look) {
                const ScopedCursor asking(Qt::ArrowCursor);
                return AskRecord(this, look);
            },
            [this](ReadRange given, std::int32_t size) {
                const ScopedCursor asking(Qt::ArrowCursor);
                return AskTargetArea(this, given, size);
            });
    }
    if (reading.outcome == ReadOutcome::kCancelled) {
        return BoxLoad::kCancelled;
    }
    if (reading.outcome != ReadOutcome::kOk) {
        ShowMessage(ReadFailureSentence(reading.outcome, reading.line).toStdString());
        return BoxLoad::kFailed;
    }
    // A plain file that could not be read still empties the box, as it always has; its messages
    // are shown already.
    text_box_->setPlainText(QString::fromStdString(reading.text));
    if (reading.format != SequenceFormat::kRaw && reading.skipped_letters > 0) {
        skipped_line_->setText(SkippedLettersSentence(reading.skipped_letters));
        skipped_line_->show();
    }
    return reading.file_read ? BoxLoad::kLoaded : BoxLoad::kFailed;
}

void CDataDlg::LoadDroppedFile(const std::filesystem::path& file) {
    LoadFileIntoBox(file);
}

void CDataDlg::accept() {
    const QByteArray text = text_box_->toPlainText().toUtf8();
    ParseSequenceText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                      sequence);
    QDialog::accept();
}

}  // namespace tavrola
