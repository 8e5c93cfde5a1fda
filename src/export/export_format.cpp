#include "export/export_format.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "audio/export/midi_file_writer.h"

namespace tavrola {

std::optional<ExportFormat> ExportFormatOfFile(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    if (extension.size() < 2) {
        return std::nullopt;
    }
    extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const ExportExtension& known : kExportExtensions) {
        if (extension == known.extension) {
            return known.format;
        }
    }
    return std::nullopt;
}

const char* ExportExtensionOf(const ExportFormat& format) {
    for (const ExportExtension& known : kExportExtensions) {
        if (known.format == format) {
            return known.extension;
        }
    }
    return kExportExtensions.front().extension;
}

ExportResult CheckExportFits(const ExportFormat& format, std::int64_t stop_tick,
                             const std::filesystem::path& folder) {
    switch (format.kind) {
        case ExportKind::kMidi:
            return CheckMidiExport(stop_tick);
        case ExportKind::kAudio:
            return CheckAudioExport(stop_tick, format.audio_type, folder);
        case ExportKind::kVideo:
            break;
    }
    const double seconds =
        static_cast<double>(stop_tick) / 2.0 + kAudioExportLongestTailSeconds + 1.0;
    const auto video_bytes = static_cast<std::uint64_t>(
        seconds * static_cast<double>(kVideoPictureBitsPerSecondCap + kVideoSoundBitsPerSecond) /
        8.0);
    return CheckFreeSpace(video_bytes + EstimatedAudioFileBytes(stop_tick, AudioFileType::kFlac),
                          folder);
}

}  // namespace tavrola
