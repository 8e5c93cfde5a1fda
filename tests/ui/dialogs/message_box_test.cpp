#include "ui/dialogs/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "core/services/user_message.h"
#include "support/recorded_messages.h"

namespace tavrola {
namespace {

TEST(MessageBox, ShowsAModalWarningTitledTavrolaWithOnlyOk) {
    const MessageHandler previous = SetMessageHandler(nullptr);
    InstallMessageBox();

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    bool modal = false;
    // The box runs its own loop: answer it from inside, as a user would.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no modal box is open";
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        modal = box->isModal();
        box->button(QMessageBox::Ok)->click();
    });
    ShowMessage("MidiControler:使用できるMIDIデバイスがありません。");

    EXPECT_EQ(title, QStringLiteral("Tavrola"));
    EXPECT_EQ(text, QStringLiteral("MidiControler:使用できるMIDIデバイスがありません。"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(modal);
    SetMessageHandler(previous);
}

TEST(MessageBox, TestsCanRecordTheTextsInstead) {
    testing::RecordedMessages recorded;
    ShowMessage("指定範囲に誤りがあります。");
    ShowMessage("指定範囲が大きすぎます。");
    ASSERT_EQ(recorded.texts().size(), 2U);
    EXPECT_EQ(recorded.texts()[0], "指定範囲に誤りがあります。");
    EXPECT_EQ(recorded.texts()[1], "指定範囲が大きすぎます。");
}

}  // namespace
}  // namespace tavrola
