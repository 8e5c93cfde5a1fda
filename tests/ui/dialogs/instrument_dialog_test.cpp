#include "ui/dialogs/instrument_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "core/services/refusal_tone.h"
#include "support/dialog_runner.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {
namespace {

using testing::RunModally;

// Counts the refusal tones while it lives.
class CountedTones {
  public:
    CountedTones() : previous_(SetToneHandler([this] { ++count_; })) {}
    ~CountedTones() { SetToneHandler(std::move(previous_)); }
    CountedTones(const CountedTones&) = delete;
    CountedTones& operator=(const CountedTones&) = delete;
    int count() const { return count_; }

  private:
    int count_ = 0;
    ToneHandler previous_;
};

QString Shown(const QComboBox* list) {
    return list->currentText();
}

TEST(SettingDialog, ListsTheProgramsThenSilenceAndShowsTheGivenInstruments) {
    CSettingDlg dialog;
    RunModally(dialog, [&] {
        EXPECT_EQ(Shown(dialog.rightList()), QStringLiteral("水晶"));
        EXPECT_EQ(Shown(dialog.leftList()), QStringLiteral("宇宙の声"));
        EXPECT_EQ(dialog.focusWidget(), dialog.okButton());
        for (QComboBox* list : {dialog.rightList(), dialog.leftList()}) {
            ASSERT_EQ(list->count(), 129);
            EXPECT_EQ(list->itemText(0), QStringLiteral("ｸﾞﾗﾝﾄﾞ ﾋﾟｱﾉ"));
            EXPECT_EQ(list->itemText(127), QStringLiteral("銃声"));
            EXPECT_EQ(list->itemText(128), QStringLiteral("なし"));
            EXPECT_FALSE(list->isEditable());
        }
        dialog.reject();
    });
    EXPECT_EQ(FindControl(&dialog, CSettingDlg::kRightListId), dialog.rightList());
    EXPECT_EQ(FindControl(&dialog, CSettingDlg::kLeftListId), dialog.leftList());

    CSettingDlg piano_and_silence;
    piano_and_silence.right_instrument = 0;
    piano_and_silence.left_instrument = -1;
    RunModally(piano_and_silence, [&] {
        EXPECT_EQ(Shown(piano_and_silence.rightList()), QStringLiteral("ｸﾞﾗﾝﾄﾞ ﾋﾟｱﾉ"));
        EXPECT_EQ(Shown(piano_and_silence.leftList()), QStringLiteral("なし"));
        piano_and_silence.okButton()->click();
    });
    EXPECT_EQ(piano_and_silence.right_instrument, 0);
    EXPECT_EQ(piano_and_silence.left_instrument, -1);
}

TEST(SettingDialog, OkTakesTheChosenEntries) {
    CSettingDlg dialog;
    const int result = RunModally(dialog, [&] {
        dialog.rightList()->setCurrentIndex(127);
        dialog.leftList()->setCurrentIndex(128);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.right_instrument, 127);
    EXPECT_EQ(dialog.left_instrument, -1);
}

TEST(SettingDialog, TwoSilentVoicesAreRefusedWithTheToneAloneAndEscKeepsTheGivenValues) {
    CountedTones tones;
    CSettingDlg dialog;
    dialog.right_instrument = 12;
    dialog.left_instrument = 40;
    const int result = RunModally(dialog, [&] {
        dialog.rightList()->setCurrentIndex(128);
        dialog.leftList()->setCurrentIndex(128);
        dialog.okButton()->click();
        EXPECT_TRUE(dialog.isVisible()) << "the refusal keeps the dialog open";
        EXPECT_EQ(tones.count(), 1);
        EXPECT_EQ(dialog.right_instrument, 12);
        EXPECT_EQ(dialog.left_instrument, 40);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(dialog.right_instrument, 12);
    EXPECT_EQ(dialog.left_instrument, 40);
    EXPECT_EQ(tones.count(), 1);
}

TEST(SettingDialog, TabGoesFromOkToTheRightListThenTheLeft) {
    CSettingDlg dialog;
    RunModally(dialog, [&] {
        QTest::keyClick(dialog.okButton(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), dialog.rightList());
        QTest::keyClick(dialog.rightList(), Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), dialog.leftList());
        dialog.reject();
    });
}

}  // namespace
}  // namespace tavrola
