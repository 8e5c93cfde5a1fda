#include "ui/dialogs/data_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>
#include <QUrl>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/sequence/sequence_file.h"
#include "core/sequence/sequence_loading.h"
#include "support/base_letters.h"
#include "support/dialog_runner.h"
#include "support/gzip_text.h"
#include "support/recorded_messages.h"
#include "support/temp_folder.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/load_sentences.h"
#include "ui/dialogs/record_dialog.h"
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
bool DropOnto(QPlainTextEdit* box, const QMimeData& data,
              Qt::DropActions actions = Qt::CopyAction) {
    const QPoint at(20, 10);
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box->viewport(), &move);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
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
    // Some file managers name this machine in the address, and keep a name that is not UTF-8
    // percent-encoded.
    const auto latin = folder_.Write("dropped lat\xe9.txt", "gatt");
    const QUrl latin_here(QStringLiteral("file://localhost") +
                          QByteArray::fromStdString(latin.native()).toPercentEncoding("/"));
    RunModally(dialog_, [&] {
        dialog_.textBox()->setPlainText(QStringLiteral("replaced"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(FromFilePath(file))});
        EXPECT_FALSE(DropOnto(dialog_.textBox(), data, Qt::MoveAction))
            << "a drop that would have its source delete the file is taken";
        EXPECT_EQ(BoxText(), "replaced");
        EXPECT_TRUE(DropOnto(dialog_.textBox(), data, Qt::CopyAction | Qt::MoveAction));
        EXPECT_EQ(BoxText(), "ccgg")
            << "the drop replaces the text instead of inserting an address";
        data.setUrls({latin_here});
        EXPECT_TRUE(DropOnto(dialog_.textBox(), data));
        EXPECT_EQ(BoxText(), "gatt") << "the address of a name that is not UTF-8, on localhost";
        dialog_.accept();
    });
    EXPECT_EQ(dialog_.sequence, (BaseSequence{2, 1, 3, 3}));

    // A drop of plain text still inserts that text.
    CDataDlg dialog;
    QMimeData data;
    data.setText(QStringLiteral("tt"));
    dialog.show();
    EXPECT_TRUE(DropOnto(dialog.textBox(), data));
    EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("tt"));
}

// A plain file that cannot be read keeps its messages and still empties the box, but the load
// says it failed, so a drop on the window or a file named at start-up installs nothing.
TEST_F(DataDialog, ALoadTellsWhetherThePlainFileWasRead) {
    const std::filesystem::path fifo = folder_.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const auto huge = folder_.Write("huge", "");
    std::filesystem::resize_file(huge, 3LL << 30);  // sparse: nothing is written
    const std::pair<std::filesystem::path, Messages> cases[] = {
        {folder_.path() / "none", {kFileSizeMessage, kFileOpenMessage}},
        {fifo, {kFileOpenMessage}},  // and never blocks
        {huge, {kFileSizeMessage}},
    };
    for (const auto& [file, texts] : cases) {
        testing::RecordedMessages messages;
        dialog_.textBox()->setPlainText(QStringLiteral("before"));
        EXPECT_EQ(dialog_.LoadFileIntoBox(file), CDataDlg::BoxLoad::kFailed) << file;
        EXPECT_EQ(messages.texts(), texts) << file;
        EXPECT_EQ(BoxText(), "") << file;
    }
}

// A file of several records asks which one, the first selected and the list focused; Enter
// takes the selected one. The box gets its stretch as FASTA text, and the letters that will not
// play are counted under the box until the box is edited; nothing else moves.
TEST_F(DataDialog, ARecordIsChosenFromTheListAndItsSkippedLettersAreCounted) {
    AnsweredChooser chooser(folder_.Write("two.fa", ">first one\nACGT\n>second RNA\nAC-GU.N\n"));
    const QRect box = dialog_.textBox()->geometry();
    RunModally(dialog_, [&] {
        QTimer::singleShot(0, [&] {
            auto* records = OpenModal<CRecordDlg>();
            ASSERT_NE(records, nullptr) << "no record list";
            QTreeWidget* list = records->list();
            EXPECT_EQ(records->focusWidget(), list);
            EXPECT_EQ(list->currentIndex().row(), 0);
            const QTreeWidgetItem* second = list->topLevelItem(1);
            EXPECT_EQ(second->text(0) + "|" + second->text(1) + "|" + second->text(2),
                      QStringLiteral("second|RNA|7"));
            EXPECT_FALSE(records->moreLine()->isVisible());
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
        });
        dialog_.loadButton()->click();
        EXPECT_EQ(BoxText(), ">second RNA [1-7]\nAC-GU.N");
        QLabel* skipped = dialog_.skippedLine();
        EXPECT_TRUE(skipped->isVisible());
        EXPECT_EQ(QAccessible::queryAccessibleInterface(skipped)->text(QAccessible::Name),
                  SkippedLettersSentence(3));
        EXPECT_EQ(dialog_.textBox()->geometry(), box);
        dialog_.textBox()->moveCursor(QTextCursor::End);
        QTest::keyClicks(dialog_.textBox(), "g");
        EXPECT_FALSE(skipped->isVisible()) << "an edit clears the count";
        dialog_.accept();
    });
    EXPECT_EQ(dialog_.sequence, (BaseSequence{1, 0, 2, 3, 2})) << "the header never plays, U as T";
}

// Loads `file` into the box while `answer` plays the user in the dialog the load opens.
template <class Dialog>
CDataDlg::BoxLoad LoadAnswering(CDataDlg& data, const std::filesystem::path& file,
                                const std::function<void(Dialog*)>& answer) {
    QTimer::singleShot(0, [&] {
        auto* dialog = OpenModal<Dialog>();
        ASSERT_NE(dialog, nullptr) << Dialog::staticMetaObject.className() << " not open";
        answer(dialog);
    });
    return data.LoadFileIntoBox(file);
}

// The list holds the first 10,000 records and counts the rest. Esc ends the load leaving the
// box as it was (the close box is Esc); a double-click takes a record.
TEST_F(DataDialog, TheRecordListListsTenThousandAndCancelsWithoutAChange) {
    std::string many;
    for (int i = 0; i < 10003; ++i) {
        many += ">r" + std::to_string(i) + "\n" + Bases(4, static_cast<std::size_t>(i)) + "\n";
    }
    const auto file = folder_.Write("many.fa", many);
    const auto double_click = [](CRecordDlg* d) {
        const QPoint row = d->list()->visualItemRect(d->list()->topLevelItem(2)).center();
        QTest::mouseClick(d->list()->viewport(), Qt::LeftButton, {}, row);  // as the desktop sends
        QTest::mouseDClick(d->list()->viewport(), Qt::LeftButton, {}, row);
    };
    const std::tuple<std::function<void(CRecordDlg*)>, CDataDlg::BoxLoad, std::string> cases[] = {
        {[](CRecordDlg* d) { QTest::keyClick(d->list(), Qt::Key_Escape); },
         CDataDlg::BoxLoad::kCancelled, "kept"},
        {double_click, CDataDlg::BoxLoad::kLoaded, ">r2 [1-4]\n" + Bases(4, 2)},
    };
    for (const auto& [act, load, box] : cases) {
        dialog_.textBox()->setPlainText(QStringLiteral("kept"));
        EXPECT_EQ(LoadAnswering<CRecordDlg>(
                      dialog_, file,
                      [&](CRecordDlg* records) {
                          EXPECT_EQ(records->list()->topLevelItemCount(), 10000);
                          EXPECT_EQ(records->moreLine()->text(), MoreRecordsSentence(3, 10000));
                          act(records);
                      }),
                  load);
        EXPECT_EQ(BoxText(), box);
    }
}

// The Target Area dialog counts a record's positions, not the file's bytes.
TEST_F(DataDialog, ALongRecordAsksForAStretchOfItsPositions) {
    const auto file = folder_.Write("long.fa.gz", testing::GzipText(">long\n" + Bases(9000)));
    const auto choose = [](CTargetAreaDlg* area) {
        EXPECT_EQ(area->endField()->maximum(), 8999);
        area->startField()->setValue(99);
        area->endField()->setValue(198);
        area->okButton()->click();
    };
    EXPECT_EQ(LoadAnswering<CTargetAreaDlg>(dialog_, file, choose), CDataDlg::BoxLoad::kLoaded);
    const std::string letters = Bases(100, 99);
    EXPECT_EQ(BoxText(), ">long [100-199]\n" + letters.substr(0, 60) + "\n" + letters.substr(60));
}

// Damage gets one sentence, with its line where there is one, and changes nothing.
TEST_F(DataDialog, ADamagedFileGetsOneSentenceAndChangesNothing) {
    const std::string packed = testing::GzipText(">a\n" + Bases(100));
    const std::pair<std::string, std::string> cases[] = {
        {packed.substr(0, packed.size() - 4),
         "圧縮されたファイルが途中で切れているため、読み込めません。"},
        {std::string(">a\nAC\0GT\n", 9), "2 行目に NUL 文字があるため、読み込めません。"},
        {">a\nAC\n>b\n", "3 行目から始まるレコードに配列がないため、読み込めません。"},
    };
    for (const auto& [bytes, sentence] : cases) {
        testing::RecordedMessages messages;
        dialog_.textBox()->setPlainText(QStringLiteral("kept"));
        EXPECT_EQ(dialog_.LoadFileIntoBox(folder_.Write("damaged", bytes)),
                  CDataDlg::BoxLoad::kFailed);
        EXPECT_EQ(messages.texts(), Messages{sentence});
        EXPECT_EQ(BoxText(), "kept");
    }
}

}  // namespace
}  // namespace tavrola
