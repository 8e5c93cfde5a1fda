#pragma once

#include <QDialog>
#include <cstdint>

#include "core/music/performance_state.h"

class QComboBox;
class QPushButton;

namespace tavrola {

// "Setting": each voice's instrument, a General MIDI program or silent (-1). The caller sets
// both instruments, runs exec() and reads them back however the dialog closed; they change only
// in an OK that leaves at least one voice sounding. Two silent voices are refused with the
// refusal tone alone and the dialog stays open.
class CSettingDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTemplateId = 134;
    static constexpr int kRightListId = 1001;
    static constexpr int kLeftListId = 1002;

    std::int32_t right_instrument = kDefaultRightInstrument;
    std::int32_t left_instrument = kDefaultLeftInstrument;

    explicit CSettingDlg(QWidget* parent = nullptr);

    QComboBox* rightList() const { return right_list_; }
    QComboBox* leftList() const { return left_list_; }
    QPushButton* okButton() const { return ok_button_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* ok_button_;
    QComboBox* right_list_;
    QComboBox* left_list_;
    bool filled_ = false;
};

}  // namespace tavrola
