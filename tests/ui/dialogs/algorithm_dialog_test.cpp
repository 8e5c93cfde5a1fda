#include "ui/dialogs/algorithm_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "support/dialog_runner.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {
namespace {

using testing::RunModally;

// Each slot's own base, so that a mix-up of two slots shows.
AssignmentTable Scrambled() {
    AssignmentTable table{};
    for (int slot = 0; slot < kPitchSlotCount; ++slot) {
        table[static_cast<std::size_t>(slot)] = (slot * 3 + slot / 4) % 4;
    }
    return table;
}

TEST(AssignDialog, ShowsEachSlotsBaseAndOkWithoutChangesHandsBackTheSame) {
    CAssignDlg dialog;
    dialog.assignment_table = Scrambled();
    dialog.timing_mode = TimingMode::kEighth;
    dialog.diatonic_only = false;
    const int result = RunModally(dialog, [&] {
        static const char* const kLetters[] = {"C", "A", "G", "T"};
        for (int slot = 0; slot < kPitchSlotCount; ++slot) {
            QComboBox* list = dialog.pitchList(slot);
            EXPECT_EQ(FindControl(&dialog, 1003 + slot), list) << "slot " << slot;
            ASSERT_EQ(list->count(), 4);
            for (int entry = 0; entry < 4; ++entry) {
                EXPECT_EQ(list->itemText(entry), QString::fromLatin1(kLetters[entry]));
            }
            EXPECT_EQ(list->currentIndex(), Scrambled()[static_cast<std::size_t>(slot)]);
        }
        EXPECT_EQ(dialog.timingList()->currentText(), QStringLiteral("8分音符"));
        EXPECT_FALSE(dialog.diatonicCheck()->isChecked());
        EXPECT_EQ(dialog.focusWidget(), dialog.okButton());
        dialog.okButton()->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.assignment_table, Scrambled());
    EXPECT_EQ(dialog.timing_mode, TimingMode::kEighth);
    EXPECT_FALSE(dialog.diatonic_only);
}

TEST(AssignDialog, OkTakesEveryControlAsItStands) {
    CAssignDlg dialog;
    RunModally(dialog, [&] {
        EXPECT_EQ(dialog.timingList()->currentText(), QStringLiteral("混合"));
        EXPECT_TRUE(dialog.diatonicCheck()->isChecked());
        dialog.pitchList(0)->setCurrentIndex(3);
        dialog.pitchList(24)->setCurrentIndex(0);
        dialog.timingList()->setCurrentIndex(0);
        QTest::mouseClick(dialog.diatonicCheck(), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    AssignmentTable expected = kDefaultAssignmentTable;
    expected[0] = kThymine;
    expected[24] = kCytosine;
    EXPECT_EQ(dialog.assignment_table, expected);
    EXPECT_EQ(dialog.timing_mode, TimingMode::kQuarter) << "4分音符";
    EXPECT_FALSE(dialog.diatonic_only);
}

// Each timing by its list entry, and a table in which three bases own no slot: OK takes them.
TEST(AssignDialog, OkTakesEachTimingAndATableWhereSomeBaseOwnsNoSlot) {
    struct Case {
        int entry;
        const char* text;
        TimingMode timing_mode;
    };
    const Case cases[] = {{0, "4分音符", TimingMode::kQuarter},
                          {1, "8分音符", TimingMode::kEighth},
                          {2, "混合", TimingMode::kMixed}};
    for (const Case& c : cases) {
        CAssignDlg dialog;
        dialog.timing_mode = c.entry == 2 ? TimingMode::kQuarter : TimingMode::kMixed;
        const int result = RunModally(dialog, [&] {
            for (int slot = 0; slot < kPitchSlotCount; ++slot) {
                dialog.pitchList(slot)->setCurrentIndex(kCytosine);
            }
            dialog.timingList()->setCurrentIndex(c.entry);
            EXPECT_EQ(dialog.timingList()->currentText(), QString::fromUtf8(c.text));
            dialog.okButton()->click();
        });
        EXPECT_EQ(result, QDialog::Accepted) << c.text;
        EXPECT_EQ(dialog.timing_mode, c.timing_mode) << c.text;
        AssignmentTable only_c{};
        only_c.fill(kCytosine);
        EXPECT_EQ(dialog.assignment_table, only_c) << "A, G and T own no slot";
    }
}

TEST(AssignDialog, EscAndTheCloseBoxKeepEveryValue) {
    for (const bool close_box : {false, true}) {
        CAssignDlg dialog;
        dialog.assignment_table = Scrambled();
        dialog.timing_mode = TimingMode::kQuarter;
        const int result = RunModally(dialog, [&] {
            for (int slot = 0; slot < kPitchSlotCount; ++slot) {
                dialog.pitchList(slot)->setCurrentIndex(kGuanine);
            }
            dialog.timingList()->setCurrentIndex(2);
            dialog.diatonicCheck()->setChecked(false);
            if (close_box) {
                dialog.close();
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(dialog.assignment_table, Scrambled());
        EXPECT_EQ(dialog.timing_mode, TimingMode::kQuarter);
        EXPECT_TRUE(dialog.diatonic_only);
    }
}

TEST(AssignDialog, LabelsNameThePitchesAndTabRunsThroughTheSlotsInOrder) {
    CAssignDlg dialog;
    RunModally(dialog, [&] {
        // The label above each list names its pitch; rows two and three each begin with C.
        const auto label_above = [&](const QComboBox* list) -> QString {
            for (QLabel* label : dialog.findChildren<QLabel*>()) {
                if (std::abs(label->x() - list->x()) <= 3 && label->y() < list->y() &&
                    list->y() - label->geometry().bottom() < list->height()) {
                    return label->text();
                }
            }
            return {};
        };
        EXPECT_EQ(label_above(dialog.pitchList(0)), QStringLiteral("シb"));
        EXPECT_EQ(label_above(dialog.pitchList(2)), QStringLiteral("ド"));
        EXPECT_EQ(label_above(dialog.pitchList(7)), QStringLiteral("ファ"));
        EXPECT_EQ(label_above(dialog.pitchList(14)), QStringLiteral("ド"));
        EXPECT_EQ(label_above(dialog.pitchList(24)), QStringLiteral("シb"));
        // The two lowest pitches stand at the right end, above the B flat and B of the next row.
        EXPECT_LE(std::abs(dialog.pitchList(0)->x() - dialog.pitchList(12)->x()), 3);
        EXPECT_LE(std::abs(dialog.pitchList(1)->x() - dialog.pitchList(13)->x()), 3);
        EXPECT_LT(dialog.pitchList(0)->y(), dialog.pitchList(12)->y());

        QWidget* expected = dialog.okButton();
        for (int slot = 0; slot < kPitchSlotCount; ++slot) {
            QTest::keyClick(expected, Qt::Key_Tab);
            EXPECT_EQ(dialog.focusWidget(), dialog.pitchList(slot)) << "slot " << slot;
            expected = dialog.pitchList(slot);
        }
        QTest::keyClick(expected, Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), dialog.timingList());
        QTest::keyClick(dialog.timingList(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), dialog.diatonicCheck());
        dialog.reject();
    });
}

}  // namespace
}  // namespace tavrola
