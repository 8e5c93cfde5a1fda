#include "ui/window/export_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "audio/export/export_result.h"
#include "core/helix/helix_geometry.h"
#include "core/playback/command_key.h"
#include "export/termination_signals.h"
#include "support/dialog_runner.h"
#include "support/recorded_messages.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/end_of_run.h"
#include "ui/window/export_job.h"
#include "ui/window/export_sentences.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;
using testing::NamesIn;

const QKeySequence kMidiKeys(Qt::CTRL | Qt::Key_E);
const QKeySequence kAudioKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_E);

// Answers the export's save dialog with a fixed target (or a cancel) and remembers the
// questions, for as long as it lives.
class AnsweredExportChooser {
  public:
    explicit AnsweredExportChooser(std::optional<ExportTarget> answer)
        : answer_(std::move(answer)),
          previous_(SetExportFileChooser(
              [this](QWidget*, ExportKind kind, const fs::path& folder, const QString& name) {
                  kinds.push_back(kind);
                  started_in = folder;
                  proposed = name;
                  return answer_;
              })) {}
    ~AnsweredExportChooser() { SetExportFileChooser(std::move(previous_)); }
    AnsweredExportChooser(const AnsweredExportChooser&) = delete;
    AnsweredExportChooser& operator=(const AnsweredExportChooser&) = delete;

    std::vector<ExportKind> kinds;
    fs::path started_in;
    QString proposed;

  private:
    std::optional<ExportTarget> answer_;
    ExportFileChooser previous_;
};

// A shown, active window whose timer the tests tick by hand, loaded as the Data dialog leaves it.
class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = std::make_unique<CTavrolaAppDlg>(std::ref(midi_), 60000);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void Load(const std::string& text) {
        window_->Performance().InstallSequence(ParseSequenceText(text));
    }

    testing::RecordingMidiFactory midi_;
    std::unique_ptr<CTavrolaAppDlg> window_;
    testing::TempFolder folder_;
    testing::RecordedMessages messages_;
};

TEST_F(ExportTest, OfferedOnlyWithBasesLoadedAndNothingPlaying) {
    struct Case {
        const char* name;
        std::optional<std::string> text;
        bool playing;
        bool offered;
    };
    const Case cases[] = {
        {"no sequence", std::nullopt, false, false},
        {"an empty sequence", "", false, false},
        {"playing", "acgt", true, false},
        {"stopped with bases", "acgt", false, true},
    };
    for (const Case& c : cases) {
        if (c.text) {
            Load(*c.text);
        } else {
            window_->Performance().State().sequence.reset();
        }
        window_->Performance().State().playing = c.playing;
        AnsweredExportChooser chooser(std::nullopt);
        QTest::keySequence(window_.get(), kMidiKeys);
        QTest::keySequence(window_.get(), kAudioKeys);
        EXPECT_EQ(CanExport(*window_), c.offered) << c.name;
        EXPECT_EQ(chooser.kinds, c.offered ? (std::vector{ExportKind::kMidi, ExportKind::kAudio})
                                           : std::vector<ExportKind>{})
            << c.name;
    }
    window_->Performance().State().playing = false;
}

// Without ffmpeg on PATH the video item stays in the menu, disabled, saying what to install,
// and its shortcut asks nothing.
TEST_F(ExportTest, WithoutFfmpegTheVideoItemSaysWhatToInstall) {
    Load("gattaca");
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(folder_.path().string()));
    QMenu menu;
    AddExportItems(menu, *window_);
    AnsweredExportChooser chooser(std::nullopt);
    QTest::keySequence(window_.get(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    qputenv("PATH", path);
    ASSERT_EQ(menu.actions().size(), 3);
    const QAction* video = menu.actions().back();
    EXPECT_FALSE(video->isEnabled());
    EXPECT_TRUE(video->toolTip().contains(QStringLiteral("ffmpeg")));
    EXPECT_TRUE(menu.toolTipsVisible());
    EXPECT_TRUE(menu.actions().front()->isEnabled()) << "the other exports stay offered";
    EXPECT_TRUE(chooser.kinds.empty());
}

TEST_F(ExportTest, MidiExportProposesANameInTheMusicFolderAndLeavesThePerformanceAlone) {
    Load("gattacagattaca");
    for (int tick = 0; tick < 7; ++tick) {
        window_->Performance().Tick();
    }
    const PerformanceState state = window_->Performance().State();
    const SphereTable spheres = window_->Performance().Layer().table;
    const std::uint32_t series = window_->Performance().Random().State();
    const std::size_t sent = midi_.Messages().size();

    AnsweredExportChooser chooser(ExportTarget{folder_.path() / "gattaca.mid", {}});
    QTest::keySequence(window_.get(), kMidiKeys);
    EXPECT_TRUE(window_->Exporting()) << "the performance is worked out off the GUI thread";
    QTRY_VERIFY_WITH_TIMEOUT(!window_->Exporting(), 30000);

    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    EXPECT_EQ(chooser.started_in,
              fs::path((QDir(music).exists() ? music : QDir::homePath()).toStdString()));
    EXPECT_TRUE(chooser.proposed.startsWith(QStringLiteral("Tavrola ")) &&
                chooser.proposed.endsWith(QStringLiteral(".mid")))
        << chooser.proposed.toStdString();
    std::ifstream file(folder_.path() / "gattaca.mid", std::ios::binary);
    std::string header(4, '\0');
    file.read(header.data(), 4);
    EXPECT_EQ(header, "MThd");
    EXPECT_EQ(NamesIn(folder_.path()), std::vector<std::string>{"gattaca.mid"});
    EXPECT_TRUE(messages_.texts().empty());
    EXPECT_EQ(window_->Performance().State().play_position, state.play_position);
    EXPECT_EQ(window_->Performance().State().helix_phase, state.helix_phase);
    EXPECT_TRUE(window_->Performance().Layer().table == spheres) << "the helix did not move";
    EXPECT_EQ(window_->Performance().Random().State(), series) << "the series did not move";
    EXPECT_EQ(midi_.Messages().size(), sent) << "nothing sounded";
}

TEST_F(ExportTest, RefusedOrFailedExportsSayWhyAndLeaveNoFile) {
    struct Case {
        const char* name;
        QKeySequence keys;
        ExportTarget target;
        std::string bases;
        ExportResult said;
        bool appears = false;  // another program writes the target meanwhile
    };
    const fs::path gone = folder_.path() / "gone";
    using R = ExportResult;
    const ExportFormat wav{ExportKind::kAudio, AudioFileType::kWav};
    // clang-format off
    const Case cases[] = {
        {"MIDI into a folder gone", kMidiKeys, {gone / "a.mid", {}}, "acgt", R::kFolderMissing},
        {"audio into a folder gone", kAudioKeys, {gone / "a.flac", {ExportKind::kAudio}}, "acgt",
         R::kFolderMissing},
        // 8,192 pairs of quarter notes: 6.9 hours, 4.07 GiB as WAV.
        {"a WAV over 4 GiB", kAudioKeys, {folder_.path() / "long.wav", wav}, std::string(8192, 'a'),
         R::kWavTooLarge},
        // Known at once to take more ticks than a MIDI file can time, without working it out.
        {"a MIDI file of a million pairs", kMidiKeys, {folder_.path() / "long.mid", {}},
         std::string(1000000, 'a'), R::kPerformanceTooLong},
        {"a file of the name appearing meanwhile", kAudioKeys, {folder_.path() / "late.wav", wav},
         std::string(60, 'g'), R::kTargetExists, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        Load(c.bases);
        window_->Performance().State().timing_mode = TimingMode::kQuarter;
        testing::RecordedMessages messages;
        AnsweredExportChooser chooser(c.target);
        QTest::keySequence(window_.get(), c.keys);
        if (c.appears) {
            std::ofstream(c.target.file) << "other";
        }
        QTRY_VERIFY_WITH_TIMEOUT(!window_->Exporting(), 30000);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{ExportFailureSentence(c.said)})
            << c.name;
        EXPECT_FALSE(window_->Exporting()) << c.name;
        EXPECT_EQ(NamesIn(folder_.path()), c.appears
                                               ? std::vector{c.target.file.filename().string()}
                                               : std::vector<std::string>{})
            << c.name;
        EXPECT_TRUE(testing::ReadWholeFile(c.target.file) == (c.appears ? "other" : ""))
            << c.name << ": the file that appeared stays as it was";
        fs::remove(c.target.file);
    }
}

// However an audio export is stopped halfway, no file is left behind; only Cancel keeps the
// window's run going. A termination signal ends the run as the exit switch does, with a modal
// window open or not, and the program's status is the shell's 128 + the signal.
TEST(AudioExportStopped, HalfwayByCancelQuitCloseBoxOrSignalLeavesNoFile) {
    struct Case {
        const char* how;
        std::function<void(CTavrolaAppDlg&)> stop;
        bool window_runs_on;
        int exit_status = 0;
    };
    using W = CTavrolaAppDlg;
    const QKeySequence quit(Qt::CTRL | Qt::Key_Q);
    // clang-format off
    const Case cases[] = {
        {"Cancel", [](W& w) { w.RunningExport()->Dialog().findChild<QPushButton*>()->click(); },
         true},
        {"Ctrl+Q in the progress window",
         [&quit](W& w) { QTest::keySequence(&w.RunningExport()->Dialog(), quit); }, false},
        {"the exit switch", [](W& w) { DispatchCommand(w, kExitButtonKey); }, false},
        {"the close box", [](W& w) { w.close(); }, false},
        {"SIGTERM", [](W&) { std::raise(SIGTERM); }, false, 143},
        {"SIGHUP", [](W&) { std::raise(SIGHUP); }, false, 129},
        {"SIGINT with the About box open",
         [](W& w) { QTimer::singleShot(0, [] { std::raise(SIGINT); }); w.ShowAbout(); }, false,
         130},
    };
    // clang-format on
    for (const Case& c : cases) {
        TerminationSignals termination;
        const testing::TempFolder folder;
        testing::RecordedMessages messages;
        testing::RecordingMidiFactory midi;
        CTavrolaAppDlg window(std::ref(midi), 60000);
        QObject::connect(&termination, &TerminationSignals::received,
                         [&window] { EndRunAsTheExitSwitchDoes(window); });
        window.Performance().InstallSequence(ParseSequenceText(std::string(60, 'g')));
        window.Performance().State().timing_mode = TimingMode::kQuarter;
        AnsweredExportChooser chooser(
            ExportTarget{folder.path() / "a.wav", {ExportKind::kAudio, AudioFileType::kWav}});
        bool stopped_halfway = false;
        bool data_opened = false;
        testing::RunModally(window, [&] {
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            QTest::keySequence(&window, kAudioKeys);
            ASSERT_TRUE(window.Exporting()) << c.how;
            QTRY_VERIFY_WITH_TIMEOUT(window.RunningExport()->Done() >= 0.5, 60000);
            stopped_halfway = window.RunningExport()->Done() < 0.9;
            QTimer::singleShot(0, [&data_opened] {
                if (auto* data = testing::OpenModal<CDataDlg>()) {
                    data_opened = true;
                    data->reject();
                }
            });
            DispatchCommand(window, kDataButtonKey);
            QTest::qWait(50);
            const QString shots = qEnvironmentVariable("TAVROLA_SCREENSHOT_DIR");
            if (!shots.isEmpty() && c.window_runs_on) {
                QDir().mkpath(shots);
                window.RunningExport()->Dialog().grab().save(
                    QDir(shots).filePath(QStringLiteral("audio-export-progress.png")));
            }
            c.stop(window);
            if (c.window_runs_on) {
                QTRY_VERIFY_WITH_TIMEOUT(!window.Exporting(), 10000);
                window.reject();
            }
        });
        EXPECT_TRUE(stopped_halfway) << c.how;
        EXPECT_FALSE(data_opened) << c.how << ": the window takes no command meanwhile";
        EXPECT_FALSE(window.Exporting()) << c.how;
        EXPECT_TRUE(NamesIn(folder.path()).empty()) << c.how << ": no file, no partial file";
        EXPECT_TRUE(messages.texts().empty()) << c.how;
        EXPECT_EQ(termination.ExitStatus(), c.exit_status) << c.how;
    }
}

}  // namespace
}  // namespace tavrola
