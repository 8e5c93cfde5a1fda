#include "ui/dialogs/data_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QUrl>
#include <optional>
#include <string>
#include <vector>

#include "core/sequence/sequence_file.h"
#include "core/sequence/sequence_loading.h"
#include "support/base_letters.h"
#include "support/dialog_runner.h"
#include "support/recorded_messages.h"
#include "support/temp_folder.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/target_area_dialog.h"
#include "ui/widgets/dialog_units.h"
#include "ui/widgets/spin_field.h"

namespace tavrola {
namespace {

using Messages = std::vector<std::string>;
using testing::OpenModal;
using testing::RunModally;

using testing::Bases;

// Answers "読込"'s file chooser with a fixed file and remembers where it was asked to start.
class AnsweredChooser {
  public:
    explicit AnsweredChooser(std::optional<std::filesystem::path> answer)
        : previous_(SetFileChooser([this](QWidget*, const std::filesystem::path& folder) {
              started_in_ = folder;
              ++asked_;
              return answer_;
          })),
          answer_(std::move(answer)) {}
    ~AnsweredChooser() { SetFileChooser(std::move(previous_)); }
    AnsweredChooser(const AnsweredChooser&) = delete;
    AnsweredChooser& operator=(const AnsweredChooser&) = delete;

    const std::filesystem::path& started_in() const { return started_in_; }
    int asked() const { return asked_; }

  private:
    FileChooser previous_;
    std::optional<std::filesystem::path> answer_;
    std::filesystem::path started_in_;
    int asked_ = 0;
};

// Drags `data` onto the box and drops it there, as the desktop does; says whether it was taken.
bool DropOnto(QPlainTextEdit* box, const QMimeData& data) {
    const QPoint at(20, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &drop);
    return enter.isAccepted() && drop.isAccepted();
}

class DataDialog : public ::testing::Test {
  protected:
    DataDialog() { dialog_.working_directory = folder_.path(); }

    std::string BoxText() const { return dialog_.textBox()->toPlainText().toStdString(); }

    testing::TempFolder folder_;
    testing::RecordedMessages messages_;
    CDataDlg dialog_;
};

TEST_F(DataDialog, OpensEmptyWithOkFocusedAndOkGivesAnEmptySequence) {
    dialog_.sequence = BaseSequence{1, 0, 2};
    bool empty = false;
    bool ok_focused = false;
    const int result = RunModally(dialog_, [&] {
        empty = dialog_.textBox()->toPlainText().isEmpty();
        ok_focused = dialog_.focusWidget() == dialog_.okButton();
        dialog_.okButton()->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(empty) << "the dialog does not show the current sequence";
    EXPECT_TRUE(ok_focused);
    ASSERT_TRUE(dialog_.sequence.has_value());
    EXPECT_TRUE(dialog_.sequence->empty());
}

TEST_F(DataDialog, TypedTextIsParsedWhenEnterPressesOk) {
    const int result = RunModally(dialog_, [&] {
        dialog_.textBox()->setFocus();
        QTest::keyClicks(dialog_.textBox(), "1 ga tc");
        QTest::keyClick(dialog_.textBox(), Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted) << "Enter in the box presses OK";
    EXPECT_EQ(BoxText(), "1 ga tc") << "Enter adds no line";
    EXPECT_EQ(dialog_.sequence, (BaseSequence{2, 1, 3, 0}));
}

// Enter, keypad Enter and Shift+Enter press OK, which parses the whole text whatever is
// selected; Ctrl+Enter breaks the line instead.
TEST_F(DataDialog, EveryEnterButCtrlEnterPressesOkOnTheWholeText) {
    struct Case {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool presses_ok;
    };
    const Case cases[] = {
        {"Enter", Qt::Key_Return, Qt::NoModifier, true},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"Shift+Enter", Qt::Key_Return, Qt::ShiftModifier, true},
        {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, false},
    };
    for (const Case& c : cases) {
        CDataDlg dialog;
        bool still_open = false;
        const int result = RunModally(dialog, [&] {
            dialog.textBox()->setFocus();
            dialog.textBox()->setPlainText(QStringLiteral("ga\ntc"));
            QTextCursor cursor = dialog.textBox()->textCursor();
            cursor.setPosition(3);
            cursor.setPosition(5, QTextCursor::KeepAnchor);
            dialog.textBox()->setTextCursor(cursor);
            QTest::keyClick(dialog.textBox(), c.key, c.modifiers);
            still_open = dialog.isVisible();
            if (still_open) {
                dialog.reject();
            }
        });
        EXPECT_EQ(result == QDialog::Accepted, c.presses_ok) << c.name;
        EXPECT_EQ(still_open, !c.presses_ok) << c.name;
        if (c.presses_ok) {
            EXPECT_EQ(dialog.sequence, (BaseSequence{2, 1, 3, 0})) << c.name << ": the whole text";
        } else {
            EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("ga\n\n")) << c.name;
        }
    }
}

TEST_F(DataDialog, PastedLinesWithNumbersAreParsedWhole) {
    QApplication::clipboard()->setText(QStringLiteral("   1 acgtt\n  6 GGC\r\n>header\n"));
    RunModally(dialog_, [&] {
        dialog_.textBox()->setFocus();
        dialog_.textBox()->paste();
        dialog_.textBox()->moveCursor(QTextCursor::Start);  // the caret does not matter
        QTest::keyClick(dialog_.textBox(), Qt::Key_Enter);
    });
    EXPECT_EQ(dialog_.sequence, (BaseSequence{1, 0, 2, 3, 3, 2, 2, 0, 1}));
}

TEST_F(DataDialog, TabMovesTheFocusAndLongLinesDoNotWrap) {
    RunModally(dialog_, [&] {
        dialog_.textBox()->setFocus();
        QTest::keyClick(dialog_.textBox(), Qt::Key_Tab);
        EXPECT_EQ(dialog_.focusWidget(), dialog_.loadButton());
        EXPECT_EQ(dialog_.textBox()->toPlainText(), QString());
        dialog_.reject();
    });
    EXPECT_EQ(dialog_.textBox()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(FindControl(&dialog_, CDataDlg::kTextBoxId), dialog_.textBox());
    EXPECT_EQ(FindControl(&dialog_, CDataDlg::kLoadButtonId), dialog_.loadButton());
}

TEST_F(DataDialog, EscAndTheCloseBoxHandBackWhatWasGivenEvenAfterALoad) {
    const auto file = folder_.Write("seq.txt", "ttttt");
    AnsweredChooser chooser(file);
    for (const bool close_box : {false, true}) {
        CDataDlg dialog;
        dialog.sequence = BaseSequence{2, 2};
        const int result = RunModally(dialog, [&] {
            dialog.loadButton()->click();
            EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("ttttt"));
            if (close_box) {
                dialog.close();
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(dialog.sequence, (BaseSequence{2, 2}));
    }
    CDataDlg never_loaded;
    RunModally(never_loaded, [&] { never_loaded.reject(); });
    EXPECT_EQ(never_loaded.sequence, std::nullopt) << "no sequence stays no sequence";
}

TEST_F(DataDialog, LoadStartsInTheDataFolderAndReplacesTheWholeText) {
    const auto file = folder_.Write("配列 one.txt", "  1 gatt\n  5 aca\n");
    AnsweredChooser chooser(file);
    RunModally(dialog_, [&] {
        dialog_.textBox()->setPlainText(QStringLiteral("old text"));
        dialog_.loadButton()->click();
        dialog_.accept();
    });
    EXPECT_EQ(chooser.started_in(), folder_.path() / "data");
    EXPECT_EQ(BoxText(), "  1 gatt\n  5 aca\n");
    EXPECT_EQ(dialog_.sequence, (BaseSequence{2, 1, 3, 3, 1, 0, 1}));
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(DataDialog, AnEmptyFileEmptiesTheBox) {
    AnsweredChooser chooser(folder_.Write("empty.txt", ""));
    RunModally(dialog_, [&] {
        dialog_.textBox()->setPlainText(QStringLiteral("acgt"));
        dialog_.loadButton()->click();
        dialog_.accept();
    });
    EXPECT_EQ(BoxText(), "");
    EXPECT_EQ(dialog_.sequence, BaseSequence{});
    EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(DataDialog, ACancelledChooserKeepsTheText) {
    AnsweredChooser chooser(std::nullopt);
    RunModally(dialog_, [&] {
        dialog_.textBox()->setPlainText(QStringLiteral("kept"));
        dialog_.loadButton()->click();
        dialog_.reject();
    });
    EXPECT_EQ(chooser.asked(), 1);
    EXPECT_EQ(BoxText(), "kept");
}

TEST_F(DataDialog, AMissingFileGivesBothMessagesAndEmptiesTheBox) {
    AnsweredChooser chooser(folder_.path() / "typed name");
    RunModally(dialog_, [&] {
        dialog_.textBox()->setPlainText(QStringLiteral("before"));
        dialog_.loadButton()->click();
        dialog_.reject();
    });
    EXPECT_EQ(messages_.texts(), (Messages{kFileSizeMessage, kFileOpenMessage}));
    EXPECT_EQ(BoxText(), "");
}

// The Target Area dialog runs for real inside the load and is answered from its own loop.
TEST_F(DataDialog, ALongFileAsksForTheRangeAndEscAfterARefusalLoadsTheFirst8192Bytes) {
    const auto file = folder_.Write("long.txt", Bases(8193));
    AnsweredChooser chooser(file);
    bool asked = false;
    RunModally(dialog_, [&] {
        QTimer::singleShot(0, [&] {
            auto* area = OpenModal<CTargetAreaDlg>();
            ASSERT_NE(area, nullptr) << "no Target Area dialog";
            asked = true;
            EXPECT_EQ(area->startField()->minimum(), 0);
            EXPECT_EQ(area->startField()->maximum(), 8191);
            EXPECT_EQ(area->endField()->minimum(), 1);
            EXPECT_EQ(area->endField()->maximum(), 8192);
            EXPECT_EQ(area->startField()->value(), 0);
            EXPECT_EQ(area->endField()->value(), 8191);
            area->startField()->setValue(100);
            area->endField()->setValue(100);
            area->okButton()->click();
            EXPECT_TRUE(area->isVisible()) << "a refused range keeps the dialog open";
            QTest::keyClick(area, Qt::Key_Escape);
        });
        dialog_.loadButton()->click();
        dialog_.reject();
    });
    EXPECT_TRUE(asked);
    EXPECT_EQ(messages_.texts(), Messages{kWrongRangeMessage});
    EXPECT_EQ(BoxText(), Bases(8192));
}

TEST_F(DataDialog, AnAcceptedRangeLoadsExactlyThoseBytes) {
    const auto file = folder_.Write("long.txt", Bases(9000));
    AnsweredChooser chooser(file);
    RunModally(dialog_, [&] {
        QTimer::singleShot(0, [&] {
            auto* area = OpenModal<CTargetAreaDlg>();
            ASSERT_NE(area, nullptr);
            area->endField()->setValue(8999);
            area->startField()->setValue(8990);
            QTest::keyClick(area->endField(), Qt::Key_Return);
        });
        dialog_.loadButton()->click();
        dialog_.reject();
    });
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_EQ(BoxText(), Bases(10, 8990));
}

TEST_F(DataDialog, DroppingAFileLoadsItLikeTheLoadButton) {
    const auto file = folder_.Write("dropped ファイル.txt", "ccgg");
    RunModally(dialog_, [&] {
        dialog_.textBox()->setPlainText(QStringLiteral("replaced"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(FromFilePath(file))});
        EXPECT_TRUE(DropOnto(dialog_.textBox(), data));
        dialog_.accept();
    });
    EXPECT_EQ(BoxText(), "ccgg") << "the drop replaces the text instead of inserting an address";
    EXPECT_EQ(dialog_.sequence, (BaseSequence{0, 0, 2, 2}));

    // A drop of plain text still inserts that text.
    CDataDlg dialog;
    QMimeData data;
    data.setText(QStringLiteral("tt"));
    dialog.show();
    EXPECT_TRUE(DropOnto(dialog.textBox(), data));
    EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("tt"));
}

TEST_F(DataDialog, DroppingAFifoRefusesItWithoutBlocking) {
    const std::filesystem::path fifo = folder_.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    dialog_.textBox()->setPlainText(QStringLiteral("before"));
    dialog_.LoadDroppedFile(fifo);
    EXPECT_EQ(messages_.texts(), Messages{kFileOpenMessage});
    EXPECT_EQ(BoxText(), "");
}

}  // namespace
}  // namespace tavrola
