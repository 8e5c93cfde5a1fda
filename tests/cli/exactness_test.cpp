#include <gtest/gtest.h>
#include <sndfile.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line_runner.h"
#include "support/dialog_runner.h"
#include "support/gzip_text.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/dialogs/algorithm_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/instrument_dialog.h"
#include "ui/dialogs/record_dialog.h"
#include "ui/dialogs/target_area_dialog.h"
#include "ui/widgets/spin_field.h"
#include "ui/window/command_dispatch.h"
#include "ui/window/export_commands.h"
#include "ui/window/main_window.h"

namespace tavrola {
namespace {

namespace fs = std::filesystem;

// Every sample as the file's decoder gives it back.
std::vector<float> Samples(const fs::path& file) {
    SF_INFO info{};
    SNDFILE* in = sf_open(file.c_str(), SFM_READ, &info);
    if (in == nullptr) {
        return {};
    }
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    samples.resize(
        static_cast<std::size_t>(sf_readf_float(in, samples.data(), info.frames) * info.channels));
    sf_close(in);
    return samples;
}

// Runs a command of the window while `answer` plays the user in the dialog it opens.
template <class Dialog>
void Answer(CTavrolaAppDlg& window, CommandKey key, std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        if (auto* dialog = testing::OpenModal<Dialog>()) {
            answer(*dialog);
        }
    });
    DispatchCommand(window, key);
}

// Plays the user in the dialog of a given class once it is open.
template <class Dialog>
void WhenOpen(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(10, [answer] {
        if (auto* dialog = testing::OpenModal<Dialog>(); dialog && dialog->isVisible()) {
            answer(*dialog);
        } else {
            WhenOpen(answer);
        }
    });
}

// Letters that never repeat in step, N among them: a stretch one position off plays otherwise.
std::string Letters(std::size_t count) {
    std::string letters;
    std::uint32_t state = 1;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        letters += "ACGTACGTN"[(state >> 16) % 9];
    }
    return letters;
}

// One file loaded with 読込 and OK in the Data dialog, the user answering the dialogs the load
// opens, and what the command line is told to choose the same.
struct Load {
    const char* what;
    fs::path file;
    std::function<void()> answer;
    std::vector<std::string> choice;
    std::vector<const char*> extensions;
};

// The command line writes exactly what the window exports after start-up, with the same choices
// in the Instrument and Algorithm dialogs and the same file loaded with one OK in the Data
// dialog, the same record and stretch chosen in its dialogs, in mixed timing (the one that
// draws on the random series): the same bytes, or for the formats whose stream serial is
// random, the same decoded samples.
TEST(CommandLineExactness, WritesWhatTheWindowExportsAfterStartUp) {
    const testing::TempFolder folder;
    const fs::path data = TAVROLA_DATA_DIR;
    const std::string long_record = Letters(9000);
    const Load loads[] = {
        {"FASTA text",
         folder.Write("input.txt",
                      ">sample 1, with a header's letters\n"
                      "GATTACAgattacaCCGGTTAAcgcgatatgcat\n"),
         [] {},
         {},
         {"mid", "wav", "flac", "mp3", "ogg", "opus"}},
        {"--record: the fourth of seven RNA records",
         data / "ecoli6s.fasta",
         [] {
             WhenOpen<CRecordDlg>([](CRecordDlg& records) {
                 for (int down = 0; down < 3; ++down) {
                     QTest::keyClick(records.list(), Qt::Key_Down);
                 }
                 QTest::keyClick(records.list(), Qt::Key_Return);
             });
         },
         {"--record", "U32767.1/6538-6734"},
         {"mid"}},
        {"--region: positions 100 to 8291 of a longer record",
         folder.Write("long.fa", ">long a record longer than a load\n" + long_record + "\n"),
         [] {
             WhenOpen<CTargetAreaDlg>([](CTargetAreaDlg& area) {
                 QTest::keyClick(area.startField(), Qt::Key_A, Qt::ControlModifier);
                 QTest::keyClicks(area.startField(), "99");
                 QTest::keyClick(area.startField(), Qt::Key_Tab);
                 QTest::keyClick(area.endField(), Qt::Key_A, Qt::ControlModifier);
                 QTest::keyClicks(area.endField(), "8290");
                 area.okButton()->click();
             });
         },
         {"--region", "100-8291"},
         {"mid", "flac"}},
        {"gzip: a GenBank record",
         folder.Write("lac.gb.gz", testing::GzipText(testing::ReadWholeFile(data / "J01636.gb"))),
         [] {},
         {},
         {"mid"}},
    };
    for (const Load& load : loads) {
        // Every load is the first after start-up: each draws on the random series.
        testing::RecordingMidiFactory midi;
        CTavrolaAppDlg window(std::ref(midi), 60000);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        Answer<CSettingDlg>(window, kInstrumentButtonKey, [](CSettingDlg& dialog) {
            dialog.rightList()->setCurrentIndex(40);
            dialog.leftList()->setCurrentIndex(0);
            dialog.okButton()->click();
        });
        Answer<CAssignDlg>(window, kAlgorithmButtonKey, [](CAssignDlg& dialog) {
            dialog.diatonicCheck()->setChecked(false);
            dialog.okButton()->click();
        });
        const FileChooser file_chooser =
            SetFileChooser([&load](QWidget*, const fs::path&) { return load.file; });
        Answer<CDataDlg>(window, kDataButtonKey, [&load](CDataDlg& dialog) {
            load.answer();
            dialog.loadButton()->click();
            dialog.okButton()->click();
        });
        SetFileChooser(file_chooser);
        ASSERT_GT(SequenceLength(window.Performance().State()), 0) << load.what;
        for (const char* extension : load.extensions) {
            const fs::path from_window = folder.path() / (std::string("window.") + extension);
            const fs::path from_command = folder.path() / (std::string("command.") + extension);
            const ExportFileChooser export_chooser = SetExportFileChooser([&](QWidget*, ExportKind,
                                                                              const fs::path&,
                                                                              const QString&) {
                return std::optional(ExportTarget{from_window, *ExportFormatOfFile(from_window)});
            });
            std::string_view(extension) == "mid" ? ExportMidiFile(window) : ExportAudioFile(window);
            QTRY_VERIFY_WITH_TIMEOUT(!window.Exporting(), 60000);
            SetExportFileChooser(export_chooser);
            std::vector<std::string> arguments = {
                "--quiet",    "--force", "--export", from_command.filename().string(),
                "--right",    "40",      "--left",   "0",
                "--all-notes"};
            arguments.insert(arguments.end(), load.choice.begin(), load.choice.end());
            arguments.push_back(load.file.string());
            const testing::CommandLineRun run = testing::RunTavrola(folder.path(), arguments);
            ASSERT_EQ(run.status, 0) << load.what << ", " << extension << ": " << run.error;
            if (std::string_view(extension) == "ogg" || std::string_view(extension) == "opus") {
                const std::vector<float> heard = Samples(from_window);
                EXPECT_FALSE(heard.empty()) << extension;
                EXPECT_TRUE(heard == Samples(from_command)) << extension << ": the same samples";
            } else {
                const std::string written = testing::ReadWholeFile(from_window);
                EXPECT_FALSE(written.empty()) << load.what << ", " << extension;
                EXPECT_TRUE(written == testing::ReadWholeFile(from_command))
                    << load.what << ", " << extension << ": the same bytes";
            }
            fs::remove(from_window);
        }
        if (load.choice.empty() && load.file.extension() == ".txt") {
            EXPECT_EQ(SequenceLength(window.Performance().State()), 34)
                << "a header's letters never play";
        }
    }
}

}  // namespace
}  // namespace tavrola
