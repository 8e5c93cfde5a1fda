#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <filesystem>
#include <optional>

#include "core/sequence/base_sequence.h"

class QLabel;
class QPushButton;

namespace tavrola {

// The Data dialog's text box: Enter, keypad Enter and Shift+Enter belong to the dialog (they
// press OK) and Ctrl+Enter breaks the line, Tab moves the focus,
// long lines scroll sideways, and a file dropped on it is reported instead of having its
// address typed in.
class SequenceTextBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit SequenceTextBox(QWidget* parent = nullptr);

  signals:
    void fileDropped(const std::filesystem::path& file);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// "Data": where the user types, pastes, drops or loads a sequence. The caller sets the sequence
// and the working directory, runs exec() and reads the sequence back however the dialog closed:
// OK replaces it with the parse of the box's whole text (an empty box gives an empty sequence);
// Esc and the close box hand back exactly what was given.
class CDataDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTemplateId = 135;
    static constexpr int kTextBoxId = 1002;
    static constexpr int kLoadButtonId = 1004;
    static constexpr int kSkippedLineId = 1009;

    std::optional<BaseSequence> sequence;
    std::filesystem::path working_directory;

    explicit CDataDlg(QWidget* parent = nullptr);

    SequenceTextBox* textBox() const { return text_box_; }
    QPushButton* okButton() const { return ok_button_; }
    QPushButton* loadButton() const { return load_button_; }
    // Under the box: how many letters of a loaded record do not play; hidden when none, and
    // once the box is edited.
    QLabel* skippedLine() const { return skipped_line_; }

    // "読込": asks for a file and replaces the box's text with it; a cancel changes nothing.
    void LoadSequenceFile();

    // How a load into the box ended: read (the box holds the new text), refused with a message
    // as "読込" refuses a file it cannot read, or cancelled in one of the dialogs it asks.
    enum class BoxLoad { kLoaded, kFailed, kCancelled };

    // Reads a chosen file into the box as "読込" does once its file is chosen: the questions and
    // messages of a load included. A drop on the box, a drop on the main window and a file named
    // when the program starts all load this way. A plain text file goes in as its bytes (a file
    // that cannot be read empties the box, as it always has); a file of records asks which record
    // and stretch, and the box gets that stretch as FASTA text; a damaged file changes nothing.
    BoxLoad LoadFileIntoBox(const std::filesystem::path& file);

    // A file dropped on the box: loaded by the same rules as "読込", replacing the whole text.
    void LoadDroppedFile(const std::filesystem::path& file);

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPushButton* ok_button_;
    SequenceTextBox* text_box_;
    QPushButton* load_button_;
    QLabel* skipped_line_;
    bool shown_ = false;
};

}  // namespace tavrola
