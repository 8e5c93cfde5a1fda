#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/playback/performer.h"
#include "support/button_centre.h"
#include "support/dialog_runner.h"
#include "support/recorded_messages.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/target_area_dialog.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/main_window.h"
#include "ui/window/sequence_opening.h"

namespace tavrola {
namespace {

constexpr QPoint kOverTheHelix(200, 280);
constexpr QPoint kOverTheDataButton = testing::ButtonCentre<QPoint>(kDataButtonKey);

QUrl FileAddress(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(FromFilePath(file));
}

// Drags `data` over the window and drops it, as the desktop does: through the window's platform
// window, which finds the widget under the pointer. A drag the window does not take leaves
// again. Says whether the drop was taken.
bool DropOnWindow(CTavrolaAppDlg& window, const QMimeData& data, QPoint at,
                  Qt::DropActions actions) {
    QWindow* platform_window = window.windowHandle();
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(platform_window, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(platform_window, &move);
    if (!enter.isAccepted() || !move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(platform_window, &leave);
        return false;
    }
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(platform_window, &drop);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// Answers the modal dialogs of a load while it runs: the Target Area with Esc, remembering the
// window it stood in front of, and the Data dialog as `answer_data` says.
class ModalAnswers {
  public:
    explicit ModalAnswers(std::function<void(CDataDlg&)> answer_data = {})
        : answer_data_(std::move(answer_data)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* question = testing::OpenModal<CTargetAreaDlg>()) {
                question_parent_ = question->windowHandle()->transientParent();
                question->reject();
            } else if (auto* data = testing::OpenModal<CDataDlg>(); data && answer_data_) {
                ++data_dialogs_;
                answer_data_(*data);
            }
        });
        // Late enough for what the dialog does once it is shown to have run.
        timer_.start(50);
    }

    int data_dialogs() const { return data_dialogs_; }
    const QWindow* question_parent() const { return question_parent_; }

  private:
    std::function<void(CDataDlg&)> answer_data_;
    QTimer timer_;
    int data_dialogs_ = 0;
    const QWindow* question_parent_ = nullptr;
};

class SequenceOpening : public ::testing::Test {
  protected:
    void SetUp() override { NewWindow(); }

    void NewWindow() {
        window_ = std::make_unique<CTavrolaAppDlg>(std::ref(midi_), 60000);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    PerformanceState& State() { return window_->Performance().State(); }
    bool StartEnabled() const {
        return window_->Buttons().Entry(kStartButtonKey).control->isEnabled();
    }

    testing::TempFolder folder_;
    testing::RecordedMessages messages_;
    testing::RecordingMidiFactory midi_;
    std::unique_ptr<CTavrolaAppDlg> window_;
};

// A file named at start-up loads as "読込" and OK would, with the same questions over the window;
// one that cannot be read installs nothing and leaves Start waiting.
TEST_F(SequenceOpening, AFileNamedAtStartUpIsLoadedAndInstalledOrLeavesTheWindowAsItWas) {
    const std::filesystem::path fifo = folder_.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::filesystem::path huge = folder_.Write("huge.txt", "acgt");
    std::filesystem::resize_file(huge, 2000000000);  // sparse: zeros after acgt
    struct Case {
        const char* name;
        std::filesystem::path file;
        const char* installed;  // the text OK parses; nullptr: nothing installed
    };
    const Case cases[] = {
        {"a name with spaces", folder_.Write("my gene.txt", "ccgg"), "ccgg"},
        {"a name that is not UTF-8", folder_.Write("lat\xe9.txt", "gatt"), "gatt"},
        {"a name that starts with a dash", folder_.Write("-x.txt", "tt"), "tt"},
        {"a file with no bases", folder_.Write("none.txt", "1234"), ""},
        {"a 2 GB file: Esc in the Target Area takes its first bytes", huge, "acgt"},
        {"a missing file", folder_.path() / "gone.txt", nullptr},
        {"a folder", folder_.path(), nullptr},
        {"a FIFO with no writer", fifo, nullptr},
    };
    for (const Case& c : cases) {
        NewWindow();
        const std::size_t told = messages_.texts().size();
        const ModalAnswers answers;
        const CDataDlg::BoxLoad load = OpenFileAtStart(*window_, c.file);
        EXPECT_FALSE(State().playing) << c.name << ": it never plays by itself";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.name;
        if (c.installed == nullptr) {
            EXPECT_NE(load, CDataDlg::BoxLoad::kLoaded) << c.name;
            EXPECT_FALSE(State().sequence.has_value()) << c.name << ": nothing installed";
            EXPECT_FALSE(StartEnabled()) << c.name << ": Start still waits";
            EXPECT_GT(messages_.texts().size(), told) << c.name << ": the box 読込 shows";
            continue;
        }
        EXPECT_EQ(load, CDataDlg::BoxLoad::kLoaded) << c.name;
        EXPECT_EQ(State().sequence, ParseSequenceText(c.installed)) << c.name;
        EXPECT_TRUE(StartEnabled()) << c.name;
        EXPECT_EQ(messages_.texts().size(), told) << c.name;
        if (c.file == huge) {
            EXPECT_EQ(answers.question_parent(), window_->windowHandle())
                << "the Target Area stands in front of the window";
        }
    }
}

// A drop on the window opens the Data dialog with it, and OK or Esc decides; a drag the window
// cannot take now is not accepted at all.
TEST_F(SequenceOpening, ADropOpensTheDataDialogWithItOrIsNotTaken) {
    const std::filesystem::path first = folder_.Write("first.txt", "ccgg");
    const std::filesystem::path second = folder_.Write("second.txt", "tttt");
    enum class Window { kStopped, kPlaying, kDialogOpen };
    struct Case {
        const char* name;
        std::function<void(QMimeData&)> fill;
        bool taken;
        const char* box = "";  // what the Data dialog's box holds when it is answered
        bool ok = false;       // OK, or else Esc
        bool told = false;     // a message box
        QPoint at = kOverTheHelix;
        Window window = Window::kStopped;
        Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    };
    const auto files = [](std::vector<std::filesystem::path> paths) {
        return [paths](QMimeData& data) {
            QList<QUrl> urls;
            for (const std::filesystem::path& path : paths) {
                urls.push_back(FileAddress(path));
            }
            data.setUrls(urls);
        };
    };
    const auto text = [](const char* words) {
        return [words](QMimeData& data) { data.setText(QString::fromUtf8(words)); };
    };
    const std::filesystem::path gone = folder_.path() / "gone.txt";
    const auto web = [](QMimeData& data) { data.setUrls({QUrl("https://example.org/a.fa")}); };
    const Case cases[] = {
        {"a file, then OK", files({first}), true, "ccgg", true},
        {"several files over a button, then Esc", files({second, first}), true, "tttt", false,
         false, kOverTheDataButton},
        {"a text, then OK", text("gat tac a"), true, "gat tac a", true},
        {"a folder", files({folder_.path()}), true, "", false, true},
        {"a missing file", files({gone}), true, "", false, true},
        {"while playing", files({first}), false, "", false, false, kOverTheHelix, Window::kPlaying},
        {"while a dialog is open", files({first}), false, "", false, false, kOverTheHelix,
         Window::kDialogOpen},
        {"a web address", web, false},
        {"a drag that can only move", files({first}), false, "", false, false, kOverTheHelix,
         Window::kStopped, Qt::MoveAction},
    };
    for (const Case& c : cases) {
        window_->Performance().InstallSequence(ParseSequenceText("aaaa"));
        const std::size_t told = messages_.texts().size();
        QMimeData data;
        c.fill(data);
        std::string box;
        const ModalAnswers answers([&box, &c](CDataDlg& dialog) {
            box = dialog.textBox()->toPlainText().toStdString();
            c.ok ? dialog.okButton()->click() : dialog.reject();
        });
        bool taken = false;
        if (c.window == Window::kPlaying) {
            DispatchCommand(*window_, kStartButtonKey);
            taken = DropOnWindow(*window_, data, c.at, c.actions);
            DispatchCommand(*window_, kStartButtonKey);
        } else if (c.window == Window::kDialogOpen) {
            CAboutDlg about(window_.get());
            testing::RunModally(about, [&] {
                taken = DropOnWindow(*window_, data, c.at, c.actions);
                about.reject();
            });
        } else {
            taken = DropOnWindow(*window_, data, c.at, c.actions);
        }
        EXPECT_EQ(taken, c.taken) << c.name;
        QTest::qWait(300);
        EXPECT_EQ(answers.data_dialogs(), c.taken ? 1 : 0) << c.name;
        if (!c.taken) {
            continue;
        }
        EXPECT_EQ(box, c.box) << c.name;
        EXPECT_EQ(State().sequence, ParseSequenceText(c.ok ? c.box : "aaaa"))
            << c.name << ": only OK replaces the sequence";
        EXPECT_EQ(messages_.texts().size() > told, c.told) << c.name;
    }
}

}  // namespace
}  // namespace tavrola
