#pragma once

#include <QDialog>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "core/sequence/sequence_reader.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tavrola {

// "Record": which record of a file with several to load. The caller sets the listed records
// and how many more the file holds, runs exec() and reads `chosen` back, however the dialog
// closed: it changes only in an OK (Enter, or a double-click on a record). Esc, Cancel and the
// close box leave it as given.
class CRecordDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kListId = 1010;
    static constexpr int kMoreLineId = 1011;

    std::span<const RecordSummary> records;
    std::int64_t more_records = 0;
    std::size_t chosen = 0;

    explicit CRecordDlg(QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QLabel* moreLine() const { return more_line_; }
    QPushButton* okButton() const { return ok_button_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool filled_ = false;
    QLabel* prompt_;
    QTreeWidget* list_;
    QLabel* more_line_;
    QPushButton* ok_button_;
    int name_width_ = 0;
    int length_width_ = 0;
};

// Runs the dialog over the records a look lists: the index of the one taken, or nothing when
// the user cancels.
std::optional<std::size_t> AskRecord(QWidget* parent, const SequenceLook& look);

}  // namespace tavrola
