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

// The pitches' names, each once, marked for lupdate: solfège in Japanese, letter names in
// English.
constexpr const char* kB = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "シ");
constexpr const char* kBFlat = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "シb");
constexpr const char* kC = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ド");
constexpr const char* kDFlat = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "レb");
constexpr const char* kD = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "レ");
constexpr const char* kEFlat = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ミb");
constexpr const char* kE = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ミ");
constexpr const char* kF = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ファ");
constexpr const char* kGFlat = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ソb");
constexpr const char* kG = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ソ");
constexpr const char* kAFlat = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ラb");
constexpr const char* kA = QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "ラ");

constexpr std::array<SlotPlace, kPitchSlotCount> kSlots = {{
    {kBFlat, 347, 7},  {kB, 381, 7},                                                        //
    {kC, 7, 43},       {kDFlat, 41, 43},  {kD, 75, 43},  {kEFlat, 109, 43}, {kE, 143, 43},  //
    {kF, 177, 43},     {kGFlat, 211, 43}, {kG, 245, 43}, {kAFlat, 279, 43}, {kA, 313, 43},  //
    {kBFlat, 347, 43}, {kB, 381, 43},                                                       //
    {kC, 7, 81},       {kDFlat, 41, 81},  {kD, 75, 81},  {kEFlat, 109, 81}, {kE, 143, 81},  //
    {kF, 177, 81},     {kGFlat, 211, 81}, {kG, 245, 81}, {kAFlat, 279, 81}, {kA, 313, 81},  //
    {kBFlat, 347, 81},
}};

// Entry index = base code.
constexpr std::array<const char*, 4> kBaseEntries = {"C", "A", "G", "T"};
// Entry index = timing mode.
constexpr std::array<const char*, kTimingModeCount> kTimingEntries = {
    QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "4分音符"),
    QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "8分音符"),
    QT_TRANSLATE_NOOP("tavrola::CAssignDlg", "混合"),
};

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

// The entries are shown in the installed language; the base letters are the same in every one.
QComboBox* MakeList(QWidget* parent, int id, const auto& entries) {
    auto* list = new QComboBox(parent);
    SetControlId(list, id);
    for (const char* entry : entries) {
        list->addItem(CAssignDlg::tr(entry));
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
        layout.Place(MakeLabel(this, tr(place.label)), {place.x, place.y, 33, 15});
        QComboBox* list = MakeList(this, kFirstPitchListId + slot, kBaseEntries);
        const int list_x = place.y == 7 ? place.x : place.x + 1;
        layout.Place(list, {list_x, place.y + 16, 33, 46});
        pitch_lists_[static_cast<std::size_t>(slot)] = list;
        setTabOrder(previous, list);
        previous = list;
    }
    layout.Place(MakeLabel(this, tr("音高割り当て")), {7, 7, 106, 17});
    layout.Place(MakeLabel(this, tr("音価割り当て")), {7, 126, 106, 17});
    timing_list_ = MakeList(this, kTimingListId, kTimingEntries);
    layout.Place(timing_list_, {7, 145, 106, 46});
    diatonic_check_ = new QCheckBox(tr("ダイアトニックのみ使用"), this);
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
