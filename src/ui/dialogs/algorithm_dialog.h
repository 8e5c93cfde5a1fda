#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "core/music/performance_state.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace tavrola {

// "Assign": which base each of the 25 pitch slots belongs to, the timing mode and the diatonic
// filter. The caller sets the three fields, runs exec() and reads them back however the dialog
// closed; OK takes every control as it stands (there is nothing to refuse), Esc and the close
// box hand back what was given.
class CAssignDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTemplateId = 136;
    static constexpr int kFirstPitchListId = 1003;  // the list of slot k has id 1003 + k
    static constexpr int kTimingListId = 1028;
    static constexpr int kDiatonicCheckId = 1029;

    AssignmentTable assignment_table = kDefaultAssignmentTable;
    TimingMode timing_mode = kDefaultTimingMode;
    bool diatonic_only = true;

    explicit CAssignDlg(QWidget* parent = nullptr);

    QComboBox* pitchList(int slot) const { return pitch_lists_.at(static_cast<std::size_t>(slot)); }
    QComboBox* timingList() const { return timing_list_; }
    QCheckBox* diatonicCheck() const { return diatonic_check_; }
    QPushButton* okButton() const { return ok_button_; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* ok_button_;
    std::array<QComboBox*, kPitchSlotCount> pitch_lists_{};
    QComboBox* timing_list_;
    QCheckBox* diatonic_check_;
    bool filled_ = false;
};

}  // namespace tavrola
