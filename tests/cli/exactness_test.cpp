#include <gtest/gtest.h>
#include <sndfile.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line_runner.h"
#include "export/face/translation.h"
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

// Runs a command of the window while `answer` plays the user in the dialog it opens.
template <class Dialog>
void Answer(CTavrolaAppDlg& window, CommandKey key, std::function<void(Dialog&)> answer) {
    WhenOpen(answer);
    DispatchCommand(window, key);
}

// A file loaded with 読込 and OK, the user answering the dialogs the load opens; the command
// line's choice of the same; the bases that play; the window's and the command line's language.
struct Load {
    const char* what;
    fs::path file;
    std::function<void()> answer;
    std::vector<std::string> choice;
    std::int32_t bases;
    std::vector<const char*> extensions;
    UiLanguage language = UiLanguage::kJapanese;
};

// The window's exports after start-up, with the choices below in the Instrument and Algorithm
// dialogs and `load`, against the command line's.
void ExpectTheSameExports(const testing::TempFolder& folder, const Load& load) {
    const bool english = load.language == UiLanguage::kEnglish;
    const std::unique_ptr<QTranslator> translation = InstallTranslation(load.language);
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
    ASSERT_EQ(SequenceLength(window.Performance().State()), load.bases) << load.what;

    for (const char* extension : load.extensions) {
        const std::string ending = (english ? "-en." : ".") + std::string(extension);
        const fs::path from_window = folder.path() / ("window" + ending);
        const fs::path from_command = folder.path() / ("command" + ending);
        const ExportFileChooser export_chooser =
            SetExportFileChooser([&](QWidget*, ExportKind, const fs::path&, const QString&) {
                return std::optional(ExportTarget{from_window, *ExportFormatOfFile(from_window)});
            });
        std::string_view(extension) == "mid" ? ExportMidiFile(window) : ExportAudioFile(window);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Exporting(), 60000);
        SetExportFileChooser(export_chooser);
        std::vector<std::string> arguments = {"--quiet", "--force", "--export",
                                              from_command.filename().string()};
        arguments.insert(arguments.end(), {"--right", english ? "violin" : "40", "--left",
                                           english ? "ACOUSTIC GRAND PIANO" : "0", "--all-notes"});
        arguments.insert(arguments.end(), load.choice.begin(), load.choice.end());
        arguments.push_back(load.file.string());
        ASSERT_EQ(testing::RunTavrola(folder.path(), arguments, {},
                                      english ? testing::kEnglishRun : testing::kPlainRun)
                      .status,
                  0)
            << load.what;
        if (std::string_view(extension) == "ogg" || std::string_view(extension) == "opus") {
            const std::vector<float> heard = Samples(from_window);
            EXPECT_FALSE(heard.empty()) << extension;
            EXPECT_TRUE(heard == Samples(from_command)) << extension << ": the same samples";
        } else {
            const std::string written = testing::ReadWholeFile(from_window);
            EXPECT_FALSE(written.empty()) << extension;
            EXPECT_TRUE(written == testing::ReadWholeFile(from_command))
                << load.what << ", " << extension << ": the same bytes";
            EXPECT_TRUE(!english ||
                        written == testing::ReadWholeFile(folder.path() /
                                                          (std::string("command.") + extension)))
                << load.what << ", " << extension << ": the same bytes as the row before";
        }
        fs::remove(from_window);
    }
}

// The command line writes exactly what the window exports after start-up, with the same choices
// in the Instrument and Algorithm dialogs and the same file loaded with one OK in the Data
// dialog, the same record and stretch chosen in its dialogs, in mixed timing (the one that
// draws on the random series, so every load is the first of its window): the same bytes, or
// for the formats whose stream serial is random, the same decoded samples. The language changes
// nothing: in English, the instruments named as General MIDI names them, both write the bytes of
// the Japanese row before.
TEST(CommandLineExactness, WritesWhatTheWindowExportsAfterStartUp) {
    const testing::TempFolder folder;
    const fs::path data = TAVROLA_DATA_DIR;
    // Never in step, N among its letters: a stretch one position off plays otherwise.
    std::string long_record;
    for (std::uint32_t i = 0, state = 1; i < 9000; ++i) {
        state = state * 1103515245u + 12345u;
        long_record += "ACGTACGTN"[(state >> 16) % 9];
    }
    const auto region_bases = static_cast<std::int32_t>(
        8192 - std::count(long_record.begin() + 99, long_record.begin() + 8291, 'N'));
    const auto fourth_record = [] {
        WhenOpen<CRecordDlg>([](CRecordDlg& records) {
            for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) {
                QTest::keyClick(records.list(), key);
            }
        });
    };
    const auto from_99_to_8290 = [] {
        WhenOpen<CTargetAreaDlg>([](CTargetAreaDlg& area) {
            for (const auto& [field, typed] :
                 {std::pair{area.startField(), "99"}, std::pair{area.endField(), "8290"}}) {
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(field, typed);
            }
            QTest::keyClick(area.endField(), Qt::Key_Return);
        });
    };
    // clang-format off
    const Load loads[] = {
        {"FASTA text: a header's letters never play", folder.Write("input.txt",
             ">sample 1, with a header's letters\nGATTACAgattacaCCGGTTAAcgcgatatgcat\n"),
         [] {}, {}, 34, {"mid", "wav", "flac", "mp3", "ogg", "opus"}},
        {"English", folder.path() / "input.txt", [] {}, {}, 34, {"mid", "flac"}, UiLanguage::kEnglish},
        {"--record: the fourth of seven RNA records", data / "ecoli6s.fasta", fourth_record,
         {"--record", "U32767.1/6538-6734"}, 197, {"mid"}},
        {"--region: positions 100 to 8291 of a longer record",
         folder.Write("long.fa", ">long a record longer than a load\n" + long_record + "\n"),
         from_99_to_8290, {"--region", "100-8291"}, region_bases, {"mid"}},
        {"gzip: a GenBank record",
         folder.Write("lac.gb.gz", testing::GzipText(testing::ReadWholeFile(data / "J01636.gb"))),
         [] {}, {}, 7477, {"mid"}},
    };
    // clang-format on
    for (const Load& load : loads) {
        ExpectTheSameExports(folder, load);
    }
}

}  // namespace
}  // namespace tavrola
