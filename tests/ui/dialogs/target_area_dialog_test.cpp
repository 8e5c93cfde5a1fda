#include "ui/dialogs/target_area_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
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

// What the user puts over each field's text, by keys, the clipboard or an input method. It
// stays as it came, and OK reads it within the field's range: start 0 to 8191, end 1 to 8192.
enum class Entry { kKeys, kPaste, kInputMethod };
struct Typing {
    const char* what;
    Entry entry;
    QString start;
    QString end;
    std::string start_shown;  // what the fields then hold
    std::string end_shown;
    Messages refusals;
    ReadRange stored;  // after OK, or the given range after the refusals and Esc
};
// clang-format off
const Typing kTypings[] = {
    {"past the end reads as the end", Entry::kKeys, "100", "9000", "100", "9000", {}, {100, 8192}},
    {"too large once read", Entry::kKeys, "0", "99999", "0", "99999",
     {"指定範囲が大きすぎます。"}, {0, 8191}},
    {"below the start reads as 0", Entry::kKeys, "-77777777", "8,191", "-77777777", "8,191", {},
     {0, 8191}},
    {"letters stay out", Entry::kKeys, "1a0b0", "8000x", "100", "8000", {}, {100, 8000}},
    {"emptied: the last position", Entry::kKeys, "", "50", "", "50", {}, {0, 50}},
    {"pasted", Entry::kPaste, "1,000", " 9,000 ", "1,000", " 9,000 ", {}, {1000, 8192}},
    {"full-width digits", Entry::kInputMethod, "１０", "２，０００", "１０", "２，０００", {},
     {10, 2000}},
};
// clang-format on

void Enter(QAbstractSpinBox* field, Entry entry, const QString& text) {
    auto* edit = field->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    field->setFocus();
    edit->selectAll();
    if (entry == Entry::kKeys) {
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    } else if (entry == Entry::kPaste) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    } else {
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QApplication::sendEvent(edit, &committed);
    }
}

TEST(TargetAreaDialogTyping, KeepsWhatIsTypedAndReadsItWithinTheRangeOnOk) {
    for (const Typing& t : kTypings) {
        testing::RecordedMessages messages;
        CTargetAreaDlg dialog;
        dialog.size = 8193;
        RunModally(dialog, [&] {
            Enter(dialog.startField(), t.entry, t.start);
            Enter(dialog.endField(), t.entry, t.end);
            EXPECT_EQ(dialog.startField()->text().toStdString(), t.start_shown) << t.what;
            EXPECT_EQ(dialog.endField()->text().toStdString(), t.end_shown) << t.what;
            dialog.okButton()->click();
            if (dialog.isVisible()) {
                EXPECT_EQ(dialog.endField()->text().toStdString(), t.end_shown)
                    << t.what << ": kept after OK";
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(messages.texts(), t.refusals) << t.what;
        EXPECT_EQ((ReadRange{dialog.start, dialog.end}), t.stored) << t.what;
    }
}

TEST_F(TargetAreaDialog, ArrowsStepFromWhatIsTypedAndStopAtTheEnds) {
    RunModally(dialog_, [&] {
        Enter(dialog_.endField(), Entry::kKeys, "9000");
        QTest::keyClick(dialog_.endField(), Qt::Key_Up);
        EXPECT_EQ(dialog_.endField()->text(), QStringLiteral("9000")) << "no wrapping round";
        QTest::keyClick(dialog_.endField(), Qt::Key_Down);
        EXPECT_EQ(dialog_.endField()->text(), QStringLiteral("8,191"));
        Enter(dialog_.startField(), Entry::kKeys, "0");
        QTest::keyClick(dialog_.startField(), Qt::Key_Down);
        EXPECT_EQ(dialog_.startField()->text(), QStringLiteral("0"));
        dialog_.reject();
    });
}

}  // namespace
}  // namespace tavrola
