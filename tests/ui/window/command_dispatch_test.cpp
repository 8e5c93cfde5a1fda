#include "support/platform_mouse.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/helix/helix_geometry.h"
#include "support/button_centre.h"
#include "support/dialog_runner.h"
#include "support/recorded_messages.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/algorithm_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/instrument_dialog.h"
#include "ui/dialogs/target_area_dialog.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/help_viewer.h"
#include "ui/window/main_window.h"
#include "ui/window/sequence_opening.h"

namespace tavrola {
namespace {

constexpr QPoint kDataButton = testing::ButtonCentre<QPoint>(kDataButtonKey);
constexpr QPoint kStartButton = testing::ButtonCentre<QPoint>(kStartButtonKey);
constexpr QPoint kOutside(300, 300);

// A shown main window with a recording MIDI output and a slow timer the tests tick by hand.
class DispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<CTavrolaAppDlg>(std::ref(midi_), 60000);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override {
        // A test may leave playback running; stop it before the window goes.
        window_.reset();
    }

    // Runs `key` while `answer` plays the user in the dialog it opens.
    template <class Dialog>
    void Command(unsigned key, const std::function<void(Dialog&)>& answer) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            Dialog* dialog = testing::OpenModal<Dialog>();
            ASSERT_NE(dialog, nullptr) << "command " << key << " opened no dialog";
            answered = true;
            answer(*dialog);
        });
        DispatchCommand(*window_, static_cast<CommandKey>(key));
        EXPECT_TRUE(answered);
    }
    void Tick() { window_->Performance().Tick(); }
    PerformanceState& State() { return window_->Performance().State(); }
    // The spheres' centres and radii, without their colours.
    std::vector<std::vector<int>> Geometry() {
        std::vector<std::vector<int>> geometry;
        for (const Sphere& sphere : window_->Performance().Layer().table.spheres) {
            geometry.push_back({sphere.centre_x, sphere.centre_y, sphere.radius});
        }
        return geometry;
    }

    testing::RecordingMidiFactory midi_;
    std::unique_ptr<CTavrolaAppDlg> window_;
};

// Drags over a button and drops, through the window's platform window as the desktop does, so
// the widget under the pointer is found first. Whether the window took it as a copy.
bool Drop(CTavrolaAppDlg& window, const QMimeData& data, bool move_only) {
    const Qt::DropActions actions = move_only ? Qt::MoveAction : Qt::CopyAction | Qt::MoveAction;
    const QPoint at = testing::ButtonCentre<QPoint>(kDataButtonKey);
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &enter);
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &drop);
    return enter.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

void Cancel(QDialog& dialog) {
    dialog.reject();
}

TEST_F(DispatchTest, DataClosedWithoutOkStillRewindsEnablesStartButLoadsNothing) {
    PerformanceState& state = State();
    state.play_position = 3;
    state.previous_right_slot = 20;
    state.previous_left_slot = 0;
    const std::vector<std::vector<int>> before = Geometry();

    Command<CDataDlg>(kDataButtonKey, Cancel);

    EXPECT_FALSE(state.sequence.has_value());
    EXPECT_EQ(state.play_position, 0);
    EXPECT_EQ(state.previous_right_slot, 2);
    EXPECT_EQ(state.previous_left_slot, 14);
    EXPECT_TRUE(window_->Buttons().Entry(kStartButtonKey).control->isEnabled());
    EXPECT_EQ(Geometry(), before) << "without a sequence the helix stays as start-up left it";

    DispatchCommand(*window_, kStartButtonKey);
    Tick();
    EXPECT_FALSE(State().playing) << "an empty start stops at the first playing tick";
}

TEST_F(DispatchTest, OkOnAnEmptyBoxGivesAnEmptySequenceWhoseBlackSpheresSpreadAndMove) {
    Command<CDataDlg>(kDataButtonKey, [](CDataDlg& dialog) { dialog.okButton()->click(); });
    PerformanceState& state = State();
    ASSERT_TRUE(state.sequence.has_value());
    EXPECT_TRUE(state.sequence->empty());
    const std::vector<std::vector<int>> spread = Geometry();
    EXPECT_NE(spread[0], (std::vector<int>{200, 280, 20})) << "the spheres spread out";
    for (const Sphere& sphere : window_->Performance().Layer().table.spheres) {
        if (sphere.radius > 0) {
            EXPECT_EQ(sphere.red + sphere.green + sphere.blue, 0.0) << "every pair is black";
        }
    }
    state.timing_mode = TimingMode::kQuarter;
    DispatchCommand(*window_, kStartButtonKey);
    state.helix_phase = 3.0;
    Tick();
    EXPECT_NE(Geometry(), spread) << "the black helix turns";
}

TEST_F(DispatchTest, TypedTextIsParsedAndAReloadAfterAStopKeepsThePhase) {
    Command<CDataDlg>(kDataButtonKey, [](CDataDlg& dialog) {
        dialog.textBox()->setPlainText(QStringLiteral("  1 acgt acgt\n 9 ttaa\n"));
        dialog.okButton()->click();
    });
    PerformanceState& state = State();
    EXPECT_EQ(SequenceLength(state), 12);
    DispatchCommand(*window_, kStartButtonKey);
    for (int tick = 0; tick < 14; ++tick) {
        Tick();
    }
    DispatchCommand(*window_, kStartButtonKey);
    ASSERT_GT(state.play_position, 0);
    const double phase = state.helix_phase;

    Command<CDataDlg>(kDataButtonKey, [](CDataDlg& dialog) {
        dialog.textBox()->setPlainText(QStringLiteral("gg"));
        dialog.okButton()->click();
    });
    EXPECT_EQ(SequenceLength(state), 2);
    EXPECT_EQ(state.play_position, 0);
    EXPECT_EQ(state.helix_phase, phase) << "loading keeps the carried phase";
}

TEST_F(DispatchTest, InstrumentClosedWithoutOkResendsTheUnchangedPrograms) {
    const std::size_t before = midi_.Messages().size();
    Command<CSettingDlg>(kInstrumentButtonKey, Cancel);
    const std::vector<std::uint32_t> messages = midi_.Messages();
    ASSERT_EQ(messages.size(), before + 2);
    EXPECT_EQ(messages[before], 0x62C0U);
    EXPECT_EQ(messages[before + 1], 0x5BC1U);

    State().left_instrument = kSilentInstrument;
    Command<CSettingDlg>(kInstrumentButtonKey, Cancel);
    EXPECT_EQ(midi_.Messages().size(), before + 3) << "a silent voice gets no program change";
}

// However the Algorithm dialog closes, the dispatcher takes its fields back.
TEST_F(DispatchTest, AlgorithmClosedInAnyWayHandsItsFieldsBack) {
    const std::pair<const char*, std::function<void(CAssignDlg&)>> closings[] = {
        {"OK", [](CAssignDlg& dialog) { dialog.okButton()->click(); }},
        {"Escape", [](CAssignDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
        {"close box", [](CAssignDlg& dialog) { dialog.close(); }},
    };
    for (const auto& [how, close] : closings) {
        PerformanceState& state = State();
        state.timing_mode = TimingMode::kMixed;
        state.diatonic_only = true;
        state.assignment_table = kDefaultAssignmentTable;
        Command<CAssignDlg>(kAlgorithmButtonKey, [&close](CAssignDlg& dialog) {
            // OK takes the controls; any other close hands back the fields as they stand.
            dialog.timing_mode = TimingMode::kQuarter;
            dialog.diatonic_only = false;
            dialog.assignment_table.fill(kThymine);
            dialog.timingList()->setCurrentIndex(0);
            dialog.diatonicCheck()->setChecked(false);
            for (int slot = 0; slot < kPitchSlotCount; ++slot) {
                dialog.pitchList(slot)->setCurrentIndex(kThymine);
            }
            close(dialog);
        });
        EXPECT_EQ(state.timing_mode, TimingMode::kQuarter) << how;
        EXPECT_FALSE(state.diatonic_only) << how;
        AssignmentTable all_t{};
        all_t.fill(kThymine);
        EXPECT_EQ(state.assignment_table, all_t) << how;
    }
}

TEST_F(DispatchTest, DraggingOffTheDataButtonOpensItsDialogWhichThenTakesClicks) {
    testing::PlatformMouse mouse(*window_);
    mouse.Press(kDataButton);
    bool clicked = false;
    // The dialog opens inside the move that leaves the button; the user goes on from there.
    QTimer::singleShot(0, [&] {
        CDataDlg* dialog = testing::OpenModal<CDataDlg>();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        mouse.Release(kOutside);
        testing::PlatformMouse dialog_mouse(*dialog);
        dialog_mouse.Click(dialog->okButton()->geometry().center());
        clicked = true;
    });
    mouse.MoveTo(kOutside);
    EXPECT_TRUE(clicked);
    ASSERT_TRUE(State().sequence.has_value()) << "the dialog's OK took the click";
    EXPECT_TRUE(window_->Buttons().Entry(kStartButtonKey).control->isEnabled());
}

TEST_F(DispatchTest, DraggingOffTheStartButtonTogglesPlayback) {
    Command<CDataDlg>(kDataButtonKey, [](CDataDlg& dialog) {
        dialog.textBox()->setPlainText(QStringLiteral("acgt"));
        dialog.okButton()->click();
    });
    testing::PlatformMouse mouse(*window_);
    mouse.Press(kStartButton);
    EXPECT_FALSE(State().playing);
    mouse.MoveTo(kOutside);
    EXPECT_TRUE(State().playing) << "leaving the pressed button runs its command";
    mouse.Release(kOutside);
    EXPECT_TRUE(State().playing) << "the release elsewhere does nothing more";
}

// A right click while the left button holds a button opens no menu, so nothing takes the mouse
// from the button: the press still ends as designed, by the left release over the button.
TEST_F(DispatchTest, ARightClickWhileTheLeftHoldsAButtonLeavesThePressAlone) {
    testing::PlatformMouse mouse(*window_);
    bool menu_shown = false;
    bool released = false;
    int dialogs_before_release = 0;
    int dialogs = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            menu_shown = true;
            popup->close();
        }
        if (auto* dialog = testing::OpenModal<CDataDlg>()) {
            ++dialogs;
            dialogs_before_release += released ? 0 : 1;
            dialog->reject();
        }
    });
    watcher.start(20);

    mouse.Press(kDataButton);
    mouse.Click(kDataButton, Qt::RightButton);
    QTest::qWait(200);
    released = true;
    mouse.Release(kDataButton);
    QTest::qWait(200);
    mouse.MoveTo(kOutside);
    QTest::qWait(100);

    EXPECT_FALSE(menu_shown) << "no context menu over a held button";
    EXPECT_EQ(dialogs_before_release, 0) << "nothing ran before the left release";
    EXPECT_EQ(dialogs, 1) << "the left release over the button ran Data once, and leaving later "
                             "ran nothing";
}

// Help during playback: the desktop is asked which help it opens while the music and the
// helix go on, however long it takes to answer.
TEST_F(DispatchTest, HelpAsksTheDesktopAsideWhileTheMusicAndTheHelixGoOn) {
    window_ = std::make_unique<CTavrolaAppDlg>(std::ref(midi_), 50);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const testing::TempFolder working;
    working.Write("TavrolaApp.chm", "ITSF");
    std::filesystem::create_directory(working.path() / "help");
    working.Write("help/index.html", "<html></html>");
    PerformanceState& state = State();
    state.working_directory = working.path();
    InstallSequence(state, ParseSequenceText("acgtacgtacgtacgtacgtacgtacgtacgtacgtacgt"));

    std::vector<QUrl> opened;
    std::atomic<bool> asked = false;
    std::atomic<bool> may_answer = false;
    const UrlOpener previous_opener =
        SetUrlOpener([&opened](const QUrl& url) { opened.push_back(url); });
    const ChmViewerCheck previous_check = SetChmViewerCheck([&](const std::filesystem::path&) {
        asked = true;
        for (int waited = 0; waited < 500 && !may_answer; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    });

    DispatchCommand(*window_, kStartButtonKey);
    DispatchCommand(*window_, kHelpButtonKey);
    EXPECT_TRUE(opened.empty()) << "the command returned before the desktop answered";
    QTRY_VERIFY(asked);
    const std::int32_t position = state.play_position;
    const SphereTable helix = window_->Performance().Layer().table;
    QTest::qWait(800);
    EXPECT_GT(state.play_position, position) << "pairs went on playing meanwhile";
    EXPECT_FALSE(window_->Performance().Layer().table == helix)
        << "the helix went on turning meanwhile";
    EXPECT_TRUE(state.playing);

    may_answer = true;
    QTRY_COMPARE(opened.size(), 1U);
    SetUrlOpener(previous_opener);
    SetChmViewerCheck(previous_check);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(
                             (working.path() / "help" / "index.html").string())))
        << "without a CHM viewer, the HTML help";
    EXPECT_FALSE(QApplication::activeModalWidget()) << "nothing modal waits for the viewer";
}

TEST_F(DispatchTest, AKeyAboveFiveOnlyPresentsTheButtons) {
    window_->Buttons().EnableImageButton(kStartButtonKey, true);
    const QImage before = window_->Buttons().Entry(kStartButtonKey).control->Shown();
    const PerformanceState state = State();
    const std::size_t messages = midi_.Messages().size();
    DispatchCommand(*window_, static_cast<CommandKey>(6));
    DispatchCommand(*window_, static_cast<CommandKey>(1000));
    EXPECT_NE(window_->Buttons().Entry(kStartButtonKey).control->Shown(), before)
        << "the enabled Start reached the screen";
    EXPECT_EQ(State().playing, state.playing);
    EXPECT_EQ(State().play_position, state.play_position);
    EXPECT_EQ(midi_.Messages().size(), messages);
}

TEST_F(DispatchTest, TheEndOfTheSequenceShowsTheStartLabelAtOnce) {
    Command<CDataDlg>(kDataButtonKey, [](CDataDlg& dialog) {
        dialog.textBox()->setPlainText(QStringLiteral("a"));
        dialog.okButton()->click();
    });
    DispatchCommand(*window_, kStartButtonKey);
    const QImage playing = window_->Buttons().Entry(kStartButtonKey).control->Shown();
    for (int tick = 0; tick < 8 && State().playing; ++tick) {
        Tick();
    }
    ASSERT_FALSE(State().playing);
    const ImageButtonEntry& start = window_->Buttons().Entry(kStartButtonKey);
    EXPECT_NE(start.control->Shown(), playing) << "the new label is on the screen";
    EXPECT_EQ(start.control->Shown().pixel(40, 16),
              QColor::fromRgb(start.surface.At(40, 16)).rgb());
}

// A file named at start-up is installed as 読込 and OK would; a drop opens the Data dialog with
// the file or text, and OK or Esc decides. What cannot be read installs nothing, and a drag the
// window cannot take now is not taken.
TEST_F(DispatchTest, AFileAtStartUpIsInstalledAndADropOpensTheDataDialog) {
    const testing::TempFolder folder;
    const testing::RecordedMessages messages;
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::filesystem::path huge = folder.Write("huge.txt", "acgt");
    std::filesystem::resize_file(huge, 2000000000);  // sparse: zeros after acgt
    const QUrl ccgg = QUrl::fromLocalFile(FromFilePath(folder.Write("c c.txt", "ccgg")));
    const QUrl tttt = QUrl::fromLocalFile(FromFilePath(folder.Write("t.txt", "tttt")));
    const std::filesystem::path latin = folder.Write("lat\xe9.txt", "gatt");
    const QUrl latin_here = QUrl::fromEncoded(
        "file://localhost" + QByteArray::fromStdString(latin.native()).toPercentEncoding("/"));
    enum How { kAtStart, kDrop, kWebAddress, kWhilePlaying, kUnderADialog, kMoveOnly };
    struct Case {
        const char* name;
        How how;
        std::filesystem::path file;  // at start-up
        QList<QUrl> urls;            // dropped, else the text
        const char* text = "";
        const char* installed = nullptr;  // the sequence then; nullptr: none
        bool told = false;                // a message box
        bool esc = false;                 // the Data dialog's answer, else OK
    };
    // clang-format off
    const Case cases[] = {
        {"a name with spaces", kAtStart, ToFilePath(ccgg.toLocalFile()), {}, "", "ccgg"},
        {"a name that is not UTF-8", kAtStart, latin, {}, "", "gatt"},
        {"no bases", kAtStart, folder.Write("none.txt", "1234"), {}, "", ""},
        {"2 GB: Esc in the Target Area takes the first bytes", kAtStart, huge, {}, "", "acgt"},
        {"a missing file", kAtStart, folder.path() / "gone.txt", {}, "", nullptr, true},
        {"a folder", kAtStart, folder.path(), {}, "", nullptr, true},
        {"a FIFO with no writer", kAtStart, fifo, {}, "", nullptr, true},
        {"a file, then OK", kDrop, {}, {ccgg}, "", "ccgg"},
        {"a file, then Esc", kDrop, {}, {ccgg}, "", nullptr, false, true},
        {"several files: the first", kDrop, {}, {tttt, ccgg}, "", "tttt"},
        {"not UTF-8, on localhost", kDrop, {}, {latin_here}, "", "gatt"},
        {"a text", kDrop, {}, {}, "gat tac a", "gattaca"},
        {"a folder dropped", kDrop, {}, {QUrl::fromLocalFile(FromFilePath(folder.path()))}, "", "", true},
        {"a web address", kWebAddress, {}, {QUrl("https://example.org/a.fa")}},
        {"while playing", kWhilePlaying, {}, {ccgg}},
        {"while a dialog is open", kUnderADialog, {}, {ccgg}},
        {"a drag that can only move", kMoveOnly, {}, {ccgg}},
    };
    // clang-format on
    for (const Case& c : cases) {
        window_ = std::make_unique<CTavrolaAppDlg>(std::ref(midi_), 60000);  // as started
        CTavrolaAppDlg& window = *window_;
        window.show();
        const std::size_t told = messages.texts().size();
        QTimer answers;  // late enough for what a dialog does once shown to have run
        QObject::connect(&answers, &QTimer::timeout, [&] {
            if (auto* question = testing::OpenModal<CTargetAreaDlg>()) {
                EXPECT_EQ(question->windowHandle()->transientParent(), window.windowHandle())
                    << c.name << ": the question stands in front of the window";
                question->reject();
            } else if (auto* data = testing::OpenModal<CDataDlg>()) {
                c.esc ? data->reject() : data->okButton()->click();
            }
        });
        answers.start(50);
        QMimeData data;
        c.urls.empty() ? data.setText(QString::fromUtf8(c.text)) : data.setUrls(c.urls);
        bool taken = false;
        if (c.how == kAtStart) {
            OpenFileAtStart(window, c.file);
            EXPECT_EQ(window.Buttons().Entry(kStartButtonKey).control->isEnabled(), !!c.installed)
                << c.name << ": Start waits unless it was installed";
        } else {
            CAboutDlg about(&window);
            about.setModal(true);
            about.setVisible(c.how == kUnderADialog);
            if (c.how == kWhilePlaying) {
                DispatchCommand(window, kStartButtonKey);
            }
            taken = Drop(window, data, c.how == kMoveOnly);
            about.hide();
            QTest::qWait(300);
        }
        EXPECT_EQ(taken, c.how == kDrop) << c.name << ": other drops are not taken";
        EXPECT_EQ(window.Performance().State().sequence,
                  c.installed ? std::optional(ParseSequenceText(c.installed)) : std::nullopt)
            << c.name;
        EXPECT_EQ(messages.texts().size() > told, c.told) << c.name;
    }
}

}  // namespace
}  // namespace tavrola
