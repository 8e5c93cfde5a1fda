#include "ui/dialogs/target_area_dialog.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <utility>
#include <vector>

#include "support/dialog_runner.h"
#include "support/recorded_messages.h"
#include "ui/widgets/dialog_units.h"
#include "ui/widgets/spin_field.h"

namespace tavrola {
namespace {

using Messages = std::vector<std::string>;
using testing::RunModally;

class TargetAreaDialog : public ::testing::Test {
  protected:
    TargetAreaDialog() { dialog_.size = 8193; }

    // Sets both fields, presses OK, and says whether the dialog closed.
    bool Submit(int start, int end) {
        dialog_.startField()->setValue(start);
        dialog_.endField()->setValue(end);
        dialog_.okButton()->click();
        return !dialog_.isVisible();
    }

    testing::RecordedMessages messages_;
    CTargetAreaDlg dialog_;
};

TEST_F(TargetAreaDialog, OpensOnTheGivenRangeWithTheStartFocused) {
    RunModally(dialog_, [&] {
        EXPECT_EQ(dialog_.focusWidget(), dialog_.startField());
        EXPECT_EQ(dialog_.startField()->value(), 0);
        EXPECT_EQ(dialog_.endField()->value(), 8191);
        EXPECT_EQ(dialog_.endField()->text(), QStringLiteral("8,191")) << "thousands separators";
        EXPECT_FALSE(dialog_.startField()->wrapping());
        QTest::keyClick(dialog_.startField(), Qt::Key_Tab);
        EXPECT_EQ(dialog_.focusWidget(), dialog_.endField());
        QTest::keyClick(dialog_.endField(), Qt::Key_Tab);
        EXPECT_EQ(dialog_.focusWidget(), dialog_.okButton());
        dialog_.reject();
    });
    EXPECT_EQ(FindControl(&dialog_, CTargetAreaDlg::kStartFieldId), dialog_.startField());
    EXPECT_EQ(FindControl(&dialog_, CTargetAreaDlg::kEndFieldId), dialog_.endField());
}

TEST_F(TargetAreaDialog, RefusesAWrongOrTooLargeRangeAndStaysOpen) {
    RunModally(dialog_, [&] {
        EXPECT_FALSE(Submit(100, 100));
        EXPECT_FALSE(Submit(200, 100));
        EXPECT_FALSE(Submit(0, 8192));
        EXPECT_EQ(dialog_.startField()->value(), 0) << "the user's entries stay";
        EXPECT_EQ(dialog_.endField()->value(), 8192);
        QTest::keyClick(&dialog_, Qt::Key_Escape);
    });
    EXPECT_EQ(messages_.texts(),
              (Messages{"指定範囲に誤りがあります。", "指定範囲に誤りがあります。",
                        "指定範囲が大きすぎます。"}));
    EXPECT_EQ(dialog_.start, 0) << "Esc after a refusal keeps the given range";
    EXPECT_EQ(dialog_.end, 8191);
}

TEST_F(TargetAreaDialog, OkWithAGoodRangeStoresIt) {
    const int result = RunModally(dialog_, [&] { EXPECT_TRUE(Submit(1, 8192)); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog_.start, 1);
    EXPECT_EQ(dialog_.end, 8192);
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(TargetAreaDialog, TypedTextStaysInsideTheFile) {
    dialog_.size = 9000;
    RunModally(dialog_, [&] {
        QLineEdit* start_text = dialog_.startField()->findChild<QLineEdit*>();
        QLineEdit* end_text = dialog_.endField()->findChild<QLineEdit*>();
        ASSERT_NE(start_text, nullptr);
        start_text->selectAll();
        QTest::keyClicks(dialog_.startField(), "-77777777");
        end_text->selectAll();
        QTest::keyClicks(dialog_.endField(), "99999999");
        EXPECT_GE(dialog_.startField()->value(), 0);
        EXPECT_LE(dialog_.endField()->value(), 8999);
        // Arrow keys stop at the ends instead of wrapping round.
        dialog_.endField()->setValue(8999);
        QTest::keyClick(dialog_.endField(), Qt::Key_Up);
        EXPECT_EQ(dialog_.endField()->value(), 8999);
        dialog_.reject();
    });
}

TEST_F(TargetAreaDialog, AnEmptiedFieldCountsAsItsNearestValue) {
    RunModally(dialog_, [&] {
        QLineEdit* end_text = dialog_.endField()->findChild<QLineEdit*>();
        ASSERT_NE(end_text, nullptr);
        dialog_.endField()->setValue(50);
        dialog_.endField()->setFocus();
        end_text->selectAll();
        QTest::keyClick(dialog_.endField(), Qt::Key_Delete);
        QTest::keyClick(dialog_.endField(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog_.start, 0);
    EXPECT_GE(dialog_.end, 1);
    EXPECT_LE(dialog_.end, 8192);
}

// Typed or pasted over each field, kept as it came; OK reads it within the field's range (end
// 1 to 8192 here), then checks the range.
struct Entry {
    const char* what;
    bool pasted;
    QString start;
    QString end;
    Messages refusals;
    ReadRange stored;  // after OK, or after a refusal and Esc
};
// clang-format off
const Entry kEntries[] = {
    {"past the end reads as the end", false, "100", "9000", {}, {100, 8192}},
    {"too large once read", false, "0", "99999", {"指定範囲が大きすぎます。"}, {0, 8191}},
    {"pasted with separators and blanks", true, "1,000", " 9,000 ", {}, {1000, 8192}},
    {"full-width digits", true, "１０", "２，０００", {}, {10, 2000}},
};
// clang-format on

TEST(TargetAreaDialogEntries, KeepEveryDigitAndOkReadsThemWithinTheRange) {
    for (const Entry& e : kEntries) {
        testing::RecordedMessages messages;
        CTargetAreaDlg dialog;
        dialog.size = 8193;
        RunModally(dialog, [&] {
            for (const auto& [field, text] :
                 {std::pair{dialog.startField(), e.start}, std::pair{dialog.endField(), e.end}}) {
                field->setFocus();
                field->selectAll();
                QGuiApplication::clipboard()->setText(text);
                e.pasted ? QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier)
                         : QTest::keyClicks(field, text);
                EXPECT_EQ(field->text().toStdString(), text.toStdString()) << e.what;
            }
            dialog.okButton()->click();
            if (dialog.isVisible()) {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(messages.texts(), e.refusals) << e.what;
        EXPECT_EQ((ReadRange{dialog.start, dialog.end}), e.stored) << e.what;
    }
}

}  // namespace
}  // namespace tavrola
