#pragma once

#include <QDialog>
#include <cstdint>

#include "core/sequence/sequence_loading.h"

class QPushButton;

namespace tavrola {

class SpinField;

// "Target Area": which stretch of a long file to load. The caller sets start, end and size,
// runs exec() and reads start and end back, however the dialog closed; they change only in an
// OK whose range passes the checks.
class CTargetAreaDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTemplateId = 137;
    static constexpr int kStartFieldId = 1005;
    static constexpr int kEndFieldId = 1007;

    std::int32_t start = kDefaultReadRange.start;
    std::int32_t end = kDefaultReadRange.end;
    std::int32_t size = 0;

    explicit CTargetAreaDlg(QWidget* parent = nullptr);

    SpinField* startField() const { return start_field_; }
    SpinField* endField() const { return end_field_; }
    QPushButton* okButton() const { return ok_button_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool filled_ = false;
    SpinField* start_field_;
    SpinField* end_field_;
    QPushButton* ok_button_;
};

// Runs the dialog as a load does: from `given` for a file of `size` bytes; gives back the
// dialog's start and end, however it closed.
ReadRange AskTargetArea(QWidget* parent, ReadRange given, std::int32_t size);

}  // namespace tavrola
