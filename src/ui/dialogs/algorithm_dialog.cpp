#include "ui/dialogs/algorithm_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QString>

#include "ui/widgets/dialog_units.h"

namespace tavrola {

namespace {

// Where each slot's label stands, lowest pitch first; its list sits 16 units below, one unit
// further right from the second row on. The first row holds only the two lowest pitches, at the
// right end, so that the second and third rows each begin with C.
struct SlotPlace {
    const char* label;
    int x;
    int y;
};

constexpr std::array<SlotPlace, kPitchSlotCount> kSlots = {{
    {"シb", 347, 7},   {"シ", 381, 7},                                                        //
    {"ド", 7, 43},     {"レb", 41, 43},  {"レ", 75, 43},  {"ミb", 109, 43}, {"ミ", 143, 43},  //
    {"ファ", 177, 43}, {"ソb", 211, 43}, {"ソ", 245, 43}, {"ラb", 279, 43}, {"ラ", 313, 43},  //
    {"シb", 347, 43},  {"シ", 381, 43},                                                       //
    {"ド", 7, 81},     {"レb", 41, 81},  {"レ", 75, 81},  {"ミb", 109, 81}, {"ミ", 143, 81},  //
    {"ファ", 177, 81}, {"ソb", 211, 81}, {"ソ", 245, 81}, {"ラb", 279, 81}, {"ラ", 313, 81},  //
    {"シb", 347, 81},
}};

// Entry index = base code.
constexpr std::array<const char*, 4> kBaseEntries = {"C", "A", "G", "T"};
// Entry index = timing mode.
constexpr std::array<const char*, kTimingModeCount> kTimingEntries = {"4分音符", "8分音符", "混合"};

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

QComboBox* MakeList(QWidget* parent, int id, const auto& entries) {
    auto* list = new QComboBox(parent);
    SetControlId(list, id);
    for (const char* entry : entries) {
        list->addItem(QString::fromUtf8(entry));
    }
    return list;
}

// The entry for a value, or none when the value has no entry.
int EntryOf(std::int32_t value, int count) {
    return value >= 0 && value < count ? value : -1;
}

// A list left without a selection keeps the value it was given.
std::int32_t ValueOf(const QComboBox* list, std::int32_t given) {
    return list->currentIndex() >= 0 ? list->currentIndex() : given;
}

}  // namespace

CAssignDlg::CAssignDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Assign"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    DialogTemplateLayout layout(this, 434, 228);
    // Created in the template's order, which is also the tab order.
    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok_button_, 1);
    ok_button_->setDefault(true);
    layout.Place(ok_button_, {191, 207, 50, 14});
    QWidget* previous = ok_button_;
    for (int slot = 0; slot < kPitchSlotCount; ++slot) {
        const SlotPlace& place = kSlots[static_cast<std::size_t>(slot)];
        layout.Place(MakeLabel(this, QString::fromUtf8(place.label)), {place.x, place.y, 33, 15});
        QComboBox* list = MakeList(this, kFirstPitchListId + slot, kBaseEntries);
        const int list_x = place.y == 7 ? place.x : place.x + 1;
        layout.Place(list, {list_x, place.y + 16, 33, 46});
        pitch_lists_[static_cast<std::size_t>(slot)] = list;
        setTabOrder(previous, list);
        previous = list;
    }
    layout.Place(MakeLabel(this, QStringLiteral("音高割り当て")), {7, 7, 106, 17});
    layout.Place(MakeLabel(this, QStringLiteral("音価割り当て")), {7, 126, 106, 17});
    timing_list_ = MakeList(this, kTimingListId, kTimingEntries);
    layout.Place(timing_list_, {7, 145, 106, 46});
    diatonic_check_ = new QCheckBox(QStringLiteral("ダイアトニックのみ使用"), this);
    SetControlId(diatonic_check_, kDiatonicCheckId);
    layout.Place(diatonic_check_, {7, 172, 99, 14});
    layout.Apply();

    setTabOrder(previous, timing_list_);
    setTabOrder(timing_list_, diatonic_check_);
    connect(ok_button_, &QPushButton::clicked, this, &CAssignDlg::accept);
}

void CAssignDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (filled_) {
        return;
    }
    filled_ = true;
    for (int slot = 0; slot < kPitchSlotCount; ++slot) {
        pitchList(slot)->setCurrentIndex(
            EntryOf(assignment_table[static_cast<std::size_t>(slot)], kBaseEntries.size()));
    }
    timing_list_->setCurrentIndex(
        EntryOf(static_cast<std::int32_t>(timing_mode), kTimingModeCount));
    diatonic_check_->setChecked(diatonic_only);
    ok_button_->setFocus();
}

void CAssignDlg::accept() {
    for (int slot = 0; slot < kPitchSlotCount; ++slot) {
        BaseCode& base = assignment_table[static_cast<std::size_t>(slot)];
        base = ValueOf(pitchList(slot), base);
    }
    timing_mode =
        static_cast<TimingMode>(ValueOf(timing_list_, static_cast<std::int32_t>(timing_mode)));
    diatonic_only = diatonic_check_->isChecked();
    QDialog::accept();
}

}  // namespace tavrola
