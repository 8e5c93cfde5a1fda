#include "ui/dialogs/export_file_chooser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tavrola {
namespace {

// A name typed without a known extension gets the chosen type's; a known one decides the type.
TEST(ExportFileName, GetsTheChosenTypesExtensionUnlessItNamesAType) {
    using enum ExportKind;
    using enum AudioFileType;
    const ExportFormat mp4{kVideo, kFlac, VideoFileType::kMp4};
    const ExportFormat webm{kVideo, kFlac, VideoFileType::kWebm};
    struct Case {
        const char* typed;
        ExportFormat chosen;
        const char* file;
        ExportFormat written;
    };
    const Case cases[] = {
        {"/m/song", {kAudio, kFlac}, "/m/song.flac", {kAudio, kFlac}},
        {"/m/song", {kAudio, kOggVorbis}, "/m/song.ogg", {kAudio, kOggVorbis}},
        {"/m/song.WAV", {kAudio, kFlac}, "/m/song.WAV", {kAudio, kWav}},
        {"/m/v1.2", {kAudio, kWav}, "/m/v1.2.wav", {kAudio, kWav}},
        {"/m/song.MP3", {kAudio, kFlac}, "/m/song.MP3", {kAudio, kMp3}},
        {"/m/song", {kAudio, kOpus}, "/m/song.opus", {kAudio, kOpus}},
        {"/m/song.mid", {kAudio, kFlac}, "/m/song.mid.flac", {kAudio, kFlac}},
        {"/m/tune", {kMidi}, "/m/tune.mid", {kMidi}},
        {"/m/tune.midi", {kMidi}, "/m/tune.midi", {kMidi}},
        {"/m/show", mp4, "/m/show.mp4", mp4},
        {"/m/show.WebM", mp4, "/m/show.WebM", webm},
    };
    for (const Case& c : cases) {
        const ExportTarget target = CompleteExportName(c.typed, c.chosen);
        EXPECT_EQ(target.file, c.file) << c.typed;
        EXPECT_TRUE(target.format == c.written) << c.typed;
    }
}

// The question before replacing is asked about the name that is then written, whichever dialog
// chose it: Qt's adds an extension only to a name without a dot, the desktop's none at all.
TEST(ExportFileName, IsSettledBeforeTheQuestionAboutReplacingIt) {
    struct Case {
        const char* typed;
        const char* existing;  // in the folder
        bool replace;          // the answer to the question, where one is asked
        const char* asked_about;
        const char* written;  // nothing when the second dialog is cancelled
    };
    const Case cases[] = {
        {"take.1", "take.1.mid", true, "take.1.mid", "take.1.mid"},
        {"take", "take.mid", false, "take.mid", nullptr},
        {"take.mid", "take.mid", true, "take.mid", "take.mid"},
        {"take", "take", true, "", "take.mid"},
    };
    for (const Case& c : cases) {
        const testing::TempFolder folder;
        folder.Write(c.existing, "before");
        std::vector<std::string> asked;
        int dialogs = 0;
        const ExportFileChooser chooser = SetExportFileChooser(
            [&](QWidget*, ExportKind, const std::filesystem::path&, const QString&) {
                return ++dialogs == 1 ? std::optional(ExportTarget{folder.path() / c.typed, {}})
                                      : std::nullopt;
            });
        const ReplaceQuestion question =
            SetReplaceQuestion([&](QWidget*, const std::filesystem::path& file) {
                asked.push_back(file.filename().string());
                return c.replace;
            });
        const std::optional<ExportTarget> chosen = ChooseExportFile(nullptr, ExportKind::kMidi);
        SetExportFileChooser(chooser);
        SetReplaceQuestion(question);

        EXPECT_EQ(asked, *c.asked_about ? std::vector<std::string>{c.asked_about}
                                        : std::vector<std::string>{})
            << c.typed;
        EXPECT_EQ(chosen ? chosen->file : std::filesystem::path(),
                  c.written ? folder.path() / c.written : std::filesystem::path())
            << c.typed;
        EXPECT_EQ(dialogs, c.replace ? 1 : 2) << c.typed << ": a no asks for another name";
        EXPECT_EQ(chosen && chosen->replace, *c.asked_about != '\0' && c.replace)
            << c.typed << ": only a yes lets the export replace a file";
    }
}

}  // namespace
}  // namespace tavrola
