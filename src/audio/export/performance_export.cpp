#include "audio/export/performance_export.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "audio/export/midi_file_writer.h"
#include "core/playback/performance_simulation.h"

namespace tavrola {
namespace {

// How much of the whole the working-out takes: nearly everything of a MIDI file, which is then
// written at once; next to nothing beside rendering the sound.
double SimulationShare(ExportKind kind) {
    return kind == ExportKind::kMidi ? 0.9 : 0.005;
}

}  // namespace

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

ExportResult CheckExportBeforeStart(const PerformanceSnapshot& snapshot, const ExportFormat& format,
                                    const FileBesideTarget& file) {
    return CheckExportFits(format, EarliestStopTick(snapshot.state),
                           file.final_target().parent_path());
}

ExportResult ExportPerformance(const PerformanceSnapshot& snapshot, const ExportFormat& format,
                               FileBesideTarget& file, WorkProgress& progress) {
    // However the export ends short of its rename, the temporary file goes now, not when the
    // last owner of the file lets go of it.
    struct RemovedUnlessCommitted {
        FileBesideTarget& file;
        ~RemovedUnlessCommitted() { file.Abandon(); }
    } const removed{file};

    const double share = SimulationShare(format.kind);
    const std::optional<SimulatedPerformance> performance = SimulatePerformance(
        snapshot.state, snapshot.spheres, snapshot.random, ProgressStage{&progress, 0.0, share});
    if (!performance) {
        return ExportResult::kCancelled;
    }
    const std::filesystem::path folder = file.final_target().parent_path();
    if (const ExportResult fits = CheckExportFits(format, performance->stop_tick, folder);
        fits != ExportResult::kSuccess) {
        return fits;
    }
    const ProgressStage writing{&progress, share, 1.0};
    if (format.kind == ExportKind::kVideo) {
        return ExportResult::kWriteFailed;
    }
    if (format.kind == ExportKind::kAudio) {
        return WriteAudioFile(*performance, format.audio_type, file, writing);
    }
    if (writing.Cancelled()) {
        return ExportResult::kCancelled;
    }
    const ExportResult written = WriteMidiFile(*performance, file);
    if (written == ExportResult::kSuccess) {
        writing.Advance(1.0);
    }
    return written;
}

}  // namespace tavrola
