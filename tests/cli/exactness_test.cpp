#include <gtest/gtest.h>
#include <sndfile.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/command_line_runner.h"
#include "export/face/translation.h"
#include "support/dialog_runner.h"
#include "support/recording_midi_factory.h"
#include "support/temp_folder.h"
#include "ui/dialogs/algorithm_dialog.h"
#include "ui/dialogs/data_dialog.h"
#include "ui/dialogs/export_file_chooser.h"
#include "ui/dialogs/file_chooser.h"
#include "ui/dialogs/instrument_dialog.h"
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

// The command line writes exactly what the window exports after start-up, with the same choices
// in the Instrument and Algorithm dialogs and the same file loaded with one OK in the Data
// dialog, in mixed timing (the one that draws on the random series): the same bytes, or for
// the formats whose stream serial is random, the same decoded samples. The language changes
// nothing of it: in English (the instruments named as General MIDI names them, in any case)
// both write the Japanese run's bytes.
TEST(CommandLineExactness, WritesWhatTheWindowExportsAfterStartUp) {
    const testing::TempFolder folder;
    const fs::path input = folder.Write("input.txt",
                                        ">sample 1, with a header's letters\n"
                                        "GATTACAgattacaCCGGTTAAcgcgatatgcat\n");
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
        SetFileChooser([&input](QWidget*, const fs::path&) { return input; });
    Answer<CDataDlg>(window, kDataButtonKey, [](CDataDlg& dialog) {
        dialog.loadButton()->click();
        dialog.okButton()->click();
    });
    SetFileChooser(file_chooser);
    ASSERT_EQ(SequenceLength(window.Performance().State()), 34) << "a header's letters never play";

    struct Run {
        std::string extension;
        UiLanguage language = UiLanguage::kJapanese;
        const char* right = "40";
        const char* left = "0";
    };
    const Run runs[] = {{"mid"},
                        {"wav"},
                        {"flac"},
                        {"mp3"},
                        {"ogg"},
                        {"opus"},
                        {"mid", UiLanguage::kEnglish, "violin", "ACOUSTIC GRAND PIANO"},
                        {"flac", UiLanguage::kEnglish, "Violin", "acoustic grand piano"}};
    for (const Run& run : runs) {
        const bool english = run.language == UiLanguage::kEnglish;
        const std::unique_ptr<QTranslator> translation = InstallTranslation(run.language);
        const char* extension = run.extension.c_str();
        const std::string name = (english ? "-en." : ".") + run.extension;
        const fs::path from_window = folder.path() / ("window" + name);
        const fs::path from_command = folder.path() / ("command" + name);
        const ExportFileChooser export_chooser =
            SetExportFileChooser([&](QWidget*, ExportKind, const fs::path&, const QString&) {
                return std::optional(ExportTarget{from_window, *ExportFormatOfFile(from_window)});
            });
        std::string_view(extension) == "mid" ? ExportMidiFile(window) : ExportAudioFile(window);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Exporting(), 60000);
        SetExportFileChooser(export_chooser);
        ASSERT_EQ(
            testing::RunTavrola(folder.path(),
                                {"--quiet", "--export", from_command.filename().string(), "--right",
                                 run.right, "--left", run.left, "--all-notes", "input.txt"},
                                {}, english ? testing::kEnglishRun : testing::kPlainRun)
                .status,
            0)
            << name;
        if (std::string_view(extension) == "ogg" || std::string_view(extension) == "opus") {
            const std::vector<float> heard = Samples(from_window);
            EXPECT_FALSE(heard.empty()) << extension;
            EXPECT_TRUE(heard == Samples(from_command)) << extension << ": the same samples";
        } else {
            const std::string written = testing::ReadWholeFile(from_window);
            EXPECT_FALSE(written.empty()) << name;
            EXPECT_TRUE(written == testing::ReadWholeFile(from_command))
                << name << ": the same bytes";
            if (english) {
                EXPECT_TRUE(written ==
                            testing::ReadWholeFile(folder.path() / ("window." + run.extension)))
                    << name << ": the same bytes as in Japanese";
            }
        }
    }
}

}  // namespace
}  // namespace tavrola
