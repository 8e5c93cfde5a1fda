#include "ui/dialogs/export_file_chooser.h"

#include <gtest/gtest.h>

namespace tavrola {
namespace {

// A name typed without a known extension gets the chosen type's; a known one decides the type.
TEST(ExportFileName, GetsTheChosenTypesExtensionUnlessItNamesAType) {
    struct Case {
        ExportKind kind;
        const char* typed;
        AudioFileType chosen;
        const char* file;
        AudioFileType type;
    };
    const Case cases[] = {
        {ExportKind::kAudio, "/m/song", AudioFileType::kFlac, "/m/song.flac", AudioFileType::kFlac},
        {ExportKind::kAudio, "/m/song", AudioFileType::kOggVorbis, "/m/song.ogg",
         AudioFileType::kOggVorbis},
        {ExportKind::kAudio, "/m/song.WAV", AudioFileType::kFlac, "/m/song.WAV",
         AudioFileType::kWav},
        {ExportKind::kAudio, "/m/v1.2", AudioFileType::kWav, "/m/v1.2.wav", AudioFileType::kWav},
        {ExportKind::kMidi, "/m/tune", AudioFileType::kFlac, "/m/tune.mid", AudioFileType::kFlac},
        {ExportKind::kMidi, "/m/tune.midi", AudioFileType::kFlac, "/m/tune.midi",
         AudioFileType::kFlac},
    };
    for (const Case& c : cases) {
        const ExportTarget target = CompleteExportName(c.kind, c.typed, c.chosen);
        EXPECT_EQ(target.file, c.file) << c.typed;
        EXPECT_EQ(target.audio_type, c.type) << c.typed;
    }
}

}  // namespace
}  // namespace tavrola
